#pragma once
// The NTFS file table: one row per file record the MFT pass found, keyed by
// parent folder and record sector. Names and sizes are filled lazily, the
// first time the row's folder is listed, and kept for later listings.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace dravel::results {

struct NtfsFileRow {
  std::uint32_t parent = 0;
  std::uint64_t sector = 0;          // first sector of the file's MFT record
  std::uint64_t recordNumber = 0;
  std::string name;                  // empty until known
  std::optional<std::uint64_t> size; // unset until the first listing
  std::uint64_t creationTime = 0;
  bool inUse = true;
};

class NtfsFileTable {
 public:
  void add(NtfsFileRow row);
  [[nodiscard]] std::size_t size() const { return m_rows.size(); }
  [[nodiscard]] const std::vector<NtfsFileRow>& rows() const { return m_rows; }
  [[nodiscard]] NtfsFileRow& row(std::size_t index) { return m_rows.at(index); }
  // Row indices whose parent is `parent`, in the order they were added.
  [[nodiscard]] const std::vector<std::size_t>& rowsOf(std::uint32_t parent) const;
  void clear();

 private:
  std::vector<NtfsFileRow> m_rows;
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> m_byParent;
};

}  // namespace dravel::results
