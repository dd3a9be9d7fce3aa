#include "NtfsFileTable.h"

namespace dravel::results {

void NtfsFileTable::add(NtfsFileRow row) {
  m_byParent[row.parent].push_back(m_rows.size());
  m_rows.push_back(std::move(row));
}

const std::vector<std::size_t>& NtfsFileTable::rowsOf(std::uint32_t parent) const {
  static const std::vector<std::size_t> kNone;
  const auto it = m_byParent.find(parent);
  return it == m_byParent.end() ? kNone : it->second;
}

void NtfsFileTable::clear() {
  m_rows.clear();
  m_byParent.clear();
}

}  // namespace dravel::results
