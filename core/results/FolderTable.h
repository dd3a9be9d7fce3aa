#pragma once
// The folder table: folders a scan found but did not put into the tree yet.
// Rows are sorted by id or by parent and searched by binary search; rows
// consumed by the tree building are marked gone instead of being erased, so
// attaching a hundred thousand folders stays linear while every walk sees
// the same rows, in the same order, as a table whose rows were deleted.

#include <cstdint>
#include <string>
#include <vector>

#include "ResultTree.h"

namespace dravel::results {

struct FolderRow {
  std::string name;            // provisional ("DIR7") or final; empty → "DIR_%d" when attached
  std::uint64_t sector = 0;    // first sector of the folder's first cluster or MFT record
  std::uint32_t self = 0;
  std::uint32_t parent = 0;
  std::uint64_t date = 0;
  std::uint64_t time = 0;
  std::uint32_t size = 0;      // size field of the "." entry
  std::uint32_t attr = 0;      // attribute byte of the "." entry
  bool folder = true;          // Type "FOLDER"
  bool deleted = false;
  std::uint64_t cluster0Start = 0;
};

// "DIR_%d" from a counter that starts at 1 with the program and is never reset.
[[nodiscard]] std::string nextUnnamedFolderName();

class FolderTable {
 public:
  void add(FolderRow row);
  [[nodiscard]] std::size_t rowCount() const { return m_rows.size(); }
  [[nodiscard]] std::size_t remaining() const { return m_remaining; }
  [[nodiscard]] bool empty() const { return m_remaining == 0; }
  [[nodiscard]] const std::vector<FolderRow>& rows() const { return m_rows; }
  [[nodiscard]] std::vector<FolderRow>& rows() { return m_rows; }
  [[nodiscard]] bool consumed(std::size_t row) const { return m_gone[row]; }

  void sortBySelf();
  void sortByParent();

  // With the table sorted by self: every row whose parent is neither the
  // root id, nor the self of a row, nor a folder the tree already shows gets
  // the orphan folder as parent. (A folder whose parent went into the tree
  // before it would otherwise be cut off from a parent that was found.)
  void markOrphans(std::uint32_t rootId, const ResultTree& tree);

  // With the table sorted by parent: inserts each row whose parent is
  // `parentId` under `parentNode` and consumes it. Rows that are not
  // folders are skipped.
  void attachChildren(std::uint32_t parentId, NodeId parentNode, ResultTree& tree);

  // With the table sorted by parent: the rows from the top whose parent is
  // the FAT root go under Root; they stay in the table.
  void insertRootLevel(ResultTree& tree, NodeId rootNode);

  // Breadth-first over the folder list from its head (records appended
  // during the walk included), until the list ends or the table is empty.
  void attachAll(ResultTree& tree);

  // Every row still present goes under the orphan folder's node.
  void placeOrphans(ResultTree& tree, NodeId orphanNode);

  // The FAT insertion, with the table sorted by parent: the root-level pass,
  // the breadth-first attach, then the orphans (when the orphan folder went
  // in). Returns the Root node.
  NodeId insertFatTree(ResultTree& tree);

  void clear();

 private:
  std::vector<FolderRow> m_rows;
  std::vector<bool> m_gone;
  std::size_t m_remaining = 0;
};

// The orphan folder's time cell: the current local time as a FAT time word.
[[nodiscard]] std::uint64_t currentFatTimeWord();

}  // namespace dravel::results
