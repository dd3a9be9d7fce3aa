#pragma once
// Readers on the scanned device, lent to one thread at a time and kept open
// between uses: saving twenty thousand small files should not open the
// device twenty thousand times.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "storage/SectorSource.h"

namespace dravel::basic {

class SourcePool;

// A reader lent to the calling thread; it goes back to the pool when the
// lease ends. Used like a pointer; false when the device did not open.
class SourceLease {
 public:
  SourceLease() = default;
  SourceLease(std::unique_ptr<storage::SectorSource> source, SourcePool* pool)
      : m_source(std::move(source)), m_pool(pool) {}
  ~SourceLease();
  SourceLease(SourceLease&& other) noexcept = default;
  SourceLease& operator=(SourceLease&& other) noexcept;
  SourceLease(const SourceLease&) = delete;
  SourceLease& operator=(const SourceLease&) = delete;

  [[nodiscard]] storage::SectorSource& operator*() const { return *m_source; }
  [[nodiscard]] storage::SectorSource* operator->() const { return m_source.get(); }
  [[nodiscard]] storage::SectorSource* get() const { return m_source.get(); }
  [[nodiscard]] explicit operator bool() const { return m_source != nullptr; }

 private:
  void giveBack();

  std::unique_ptr<storage::SectorSource> m_source;
  SourcePool* m_pool = nullptr;
};

class SourcePool {
 public:
  using Factory = std::function<std::unique_ptr<storage::SectorSource>()>;
  explicit SourcePool(Factory factory) : m_factory(std::move(factory)) {}

  // An idle reader, or a new one; an empty lease when the device does not open.
  [[nodiscard]] SourceLease lease();

 private:
  friend class SourceLease;
  void giveBack(std::unique_ptr<storage::SectorSource> source);

  // A few idle readers cover the scan, a listing and a save at once.
  static constexpr std::size_t kMaxIdle = 4;

  Factory m_factory;
  std::mutex m_mutex;
  std::vector<std::unique_ptr<storage::SectorSource>> m_idle;
};

}  // namespace dravel::basic
