#include "FolderTable.h"

#include <algorithm>
#include <atomic>
#include <ctime>

#include "common/Text.h"

namespace dravel::results {

std::string nextUnnamedFolderName() {
  static std::atomic<int> counter{1};
  return strprintf("DIR_%d", counter.fetch_add(1));
}

std::uint64_t currentFatTimeWord() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<std::uint64_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
}

void FolderTable::add(FolderRow row) {
  m_rows.push_back(std::move(row));
  m_gone.push_back(false);
  ++m_remaining;
}

namespace {

// Sorting carries the consumed marks along with their rows.
template <typename Key>
void sortRows(std::vector<FolderRow>& rows, std::vector<bool>& gone, Key key) {
  std::vector<std::size_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(rows[a]) < key(rows[b]); });
  std::vector<FolderRow> sortedRows;
  std::vector<bool> sortedGone;
  sortedRows.reserve(rows.size());
  sortedGone.reserve(rows.size());
  for (const std::size_t i : order) {
    sortedRows.push_back(std::move(rows[i]));
    sortedGone.push_back(gone[i]);
  }
  rows = std::move(sortedRows);
  gone = std::move(sortedGone);
}

}  // namespace

void FolderTable::sortBySelf() {
  sortRows(m_rows, m_gone, [](const FolderRow& r) { return r.self; });
}

void FolderTable::sortByParent() {
  sortRows(m_rows, m_gone, [](const FolderRow& r) { return r.parent; });
}

void FolderTable::markOrphans(std::uint32_t rootId, const ResultTree& tree) {
  std::vector<std::uint32_t> selves;
  selves.reserve(m_rows.size());
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    if (!m_gone[i]) selves.push_back(m_rows[i].self);
  }
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    auto& row = m_rows[i];
    if (m_gone[i] || row.parent == rootId) continue;
    if (std::binary_search(selves.begin(), selves.end(), row.parent)) continue;
    if (row.parent != kOrphanFolderId && tree.findFolderById(row.parent, rootId) != nullptr) continue;
    row.parent = kOrphanFolderId;
  }
}

void FolderTable::attachChildren(std::uint32_t parentId, NodeId parentNode, ResultTree& tree) {
  auto first = std::lower_bound(m_rows.begin(), m_rows.end(), parentId,
                                [](const FolderRow& r, std::uint32_t id) { return r.parent < id; });
  for (auto it = first; it != m_rows.end() && it->parent == parentId; ++it) {
    const auto index = static_cast<std::size_t>(it - m_rows.begin());
    if (m_gone[index] || !it->folder) continue;
    FolderInsert insert;
    insert.parent = parentNode;
    insert.name = it->name.empty() ? nextUnnamedFolderName() : it->name;
    insert.selfId = it->self;
    insert.date = it->date;
    insert.time = it->time;
    insert.parentId = it->parent;
    insert.deleted = it->deleted;
    insert.cluster0Start = it->cluster0Start;
    tree.insertFolder(insert);
    m_gone[index] = true;
    --m_remaining;
  }
}

void FolderTable::attachAll(ResultTree& tree) {
  // Index-based: inserts append to the folder list while it is walked.
  for (std::size_t i = 0; i < tree.folders().size() && !empty(); ++i) {
    const FolderRecord record = tree.folders()[i];
    attachChildren(record.selfId, record.treeItem, tree);
  }
}

void FolderTable::insertRootLevel(ResultTree& tree, NodeId rootNode) {
  for (const auto& row : m_rows) {
    if (row.parent != kFatRootId) break;
    FolderInsert insert;
    insert.parent = rootNode;
    insert.name = row.name;
    insert.selfId = row.self;
    insert.date = row.date;
    insert.time = row.time;
    insert.parentId = row.parent;
    insert.deleted = row.deleted;
    insert.cluster0Start = row.cluster0Start;
    tree.insertFolder(insert);
  }
}

void FolderTable::placeOrphans(ResultTree& tree, NodeId orphanNode) {
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    if (m_gone[i]) continue;
    const auto& row = m_rows[i];
    m_gone[i] = true;
    --m_remaining;
    // Rows already shown (the root-level ones) add nothing and use no name.
    if (tree.nodeForId(row.self)) continue;
    FolderInsert insert;
    insert.parent = orphanNode;
    insert.name = row.name.empty() ? nextUnnamedFolderName() : row.name;
    insert.selfId = row.self;
    insert.date = row.date;
    insert.time = row.time;
    insert.parentId = kOrphanFolderId;
    insert.deleted = row.deleted;
    insert.cluster0Start = row.cluster0Start;
    tree.insertFolder(insert);
  }
}

NodeId FolderTable::insertFatTree(ResultTree& tree) {
  const NodeId root = tree.ensureRoot();
  insertRootLevel(tree, root);
  attachAll(tree);
  if (const auto orphan = tree.nodeForId(kOrphanFolderId)) placeOrphans(tree, *orphan);
  return root;
}

void FolderTable::clear() {
  m_rows.clear();
  m_gone.clear();
  m_remaining = 0;
}

}  // namespace dravel::results
