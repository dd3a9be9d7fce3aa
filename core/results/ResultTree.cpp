#include "ResultTree.h"

#include <algorithm>

#include "common/SortKeys.h"

namespace dravel::results {

NodeId ResultTree::addNode(NodeId parent, std::string text, int image) {
  const auto id = static_cast<NodeId>(m_nodes.size());
  m_nodes.push_back(TreeNode{std::move(text), parent, {}, image, std::nullopt});
  if (parent == kNoNode) {
    m_topLevel.push_back(id);
  } else {
    m_nodes[parent].children.push_back(id);
  }
  return id;
}

NodeId ResultTree::ensureRoot() {
  const NodeId first = firstItem();
  if (first != kNoNode && m_nodes[first].text == kRootName) return first;
  // A first item under another name (never made by a scan) keeps its place;
  // Root goes after it, as the design has it.
  return addNode(kNoNode, kRootName, kRootImage);
}

NodeId ResultTree::insertFolder(const FolderInsert& folder) {
  NodeId parent = folder.parent;
  if (parent == kNoNode || m_nodes.empty()) parent = ensureRoot();
  if (!m_loadingLog) {
    if (const auto it = m_itemTable.find(folder.selfId); it != m_itemTable.end()) return it->second;
  }
  const NodeId id = addNode(parent, folder.name, kFolderImage);
  m_itemTable.emplace(folder.selfId, id);

  FolderRecord record;
  record.name = folder.name;
  record.treeItem = id;
  record.selfId = static_cast<std::uint32_t>(folder.selfId);
  record.parentId = folder.parentId;
  record.date = folder.date;
  record.time = folder.time;
  record.deleted = folder.deleted;
  record.cluster0Start = folder.cluster0Start;
  m_nodes[id].record = m_folders.size();
  m_byId.emplace(record.selfId, m_folders.size());
  m_folders.push_back(std::move(record));
  if (m_observer) m_observer(id);
  return id;
}

const FolderRecord* ResultTree::recordOf(NodeId id) const {
  if (id >= m_nodes.size() || !m_nodes[id].record) return nullptr;
  return &m_folders[*m_nodes[id].record];
}

FolderRecord* ResultTree::recordOf(NodeId id) {
  if (id >= m_nodes.size() || !m_nodes[id].record) return nullptr;
  return &m_folders[*m_nodes[id].record];
}

const FolderRecord* ResultTree::findFolderById(std::uint32_t id, std::uint32_t rootId) const {
  if (id == rootId) return nullptr;
  const auto it = m_byId.find(id);
  return it == m_byId.end() ? nullptr : &m_folders[it->second];
}

std::optional<NodeId> ResultTree::nodeForId(std::uint64_t selfId) const {
  const auto it = m_itemTable.find(selfId);
  if (it == m_itemTable.end()) return std::nullopt;
  return it->second;
}

void ResultTree::resolveName(NodeId id, const std::string& name, bool deleted) {
  auto* record = recordOf(id);
  if (record == nullptr) return;
  record->name = name;
  if (deleted) record->deleted = true;
  m_nodes[id].text = name;
}

void ResultTree::setText(NodeId id, const std::string& text) {
  m_nodes.at(id).text = text;
  if (auto* record = recordOf(id)) record->name = text;
}

void ResultTree::markExpanded(NodeId id) {
  if (auto* record = recordOf(id)) record->expanded = true;
}

void ResultTree::markDeleted(NodeId id) {
  if (auto* record = recordOf(id)) record->deleted = true;
}

void ResultTree::sortChildren(NodeId id) {
  auto& list = id == kNoNode ? m_topLevel : m_nodes.at(id).children;
  std::stable_sort(list.begin(), list.end(), [this](NodeId a, NodeId b) {
    return compareNoCase(m_nodes[a].text, m_nodes[b].text) < 0;
  });
}

std::vector<NodeId> ResultTree::preorder() const {
  std::vector<NodeId> out;
  out.reserve(m_nodes.size());
  std::vector<NodeId> stack(m_topLevel.rbegin(), m_topLevel.rend());
  while (!stack.empty()) {
    const NodeId id = stack.back();
    stack.pop_back();
    out.push_back(id);
    const auto& children = m_nodes[id].children;
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return out;
}

std::vector<std::string> ResultTree::pathOf(NodeId id) const {
  std::vector<std::string> names;
  for (NodeId at = id; at != kNoNode && at < m_nodes.size(); at = m_nodes[at].parent) {
    if (m_nodes[at].parent == kNoNode) break;  // the top-level item itself is not part of the path
    names.push_back(m_nodes[at].text);
  }
  std::reverse(names.begin(), names.end());
  return names;
}

void ResultTree::clear() {
  m_nodes.clear();
  m_topLevel.clear();
  m_folders.clear();
  m_itemTable.clear();
  m_byId.clear();
}

}  // namespace dravel::results
