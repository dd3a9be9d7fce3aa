#include "SourcePool.h"

namespace dravel::basic {

SourceLease::~SourceLease() { giveBack(); }

SourceLease& SourceLease::operator=(SourceLease&& other) noexcept {
  if (this != &other) {
    giveBack();
    m_source = std::move(other.m_source);
    m_pool = other.m_pool;
  }
  return *this;
}

void SourceLease::giveBack() {
  if (m_pool != nullptr && m_source) m_pool->giveBack(std::move(m_source));
  m_source.reset();
}

SourceLease SourcePool::lease() {
  {
    const std::lock_guard lock(m_mutex);
    if (!m_idle.empty()) {
      auto source = std::move(m_idle.back());
      m_idle.pop_back();
      return SourceLease(std::move(source), this);
    }
  }
  if (!m_factory) return {};
  return SourceLease(m_factory(), this);
}

void SourcePool::giveBack(std::unique_ptr<storage::SectorSource> source) {
  const std::lock_guard lock(m_mutex);
  if (m_idle.size() < kMaxIdle) m_idle.push_back(std::move(source));
}

}  // namespace dravel::basic
