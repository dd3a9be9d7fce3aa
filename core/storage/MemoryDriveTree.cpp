#include "MemoryDriveTree.h"

#include <functional>

namespace dravel::storage {

MemoryDriveTree::MemoryDriveTree() {
  m_root = add(kNoItem, "My Computer");
  m_physical = add(m_root, "Physical Drives");
  m_logical = add(m_root, "Logical Drives");
}

TreeItem MemoryDriveTree::add(TreeItem parent, std::string text) {
  m_nodes.push_back(Node{std::move(text), parent, {}});
  const TreeItem item = m_nodes.size();
  if (parent != kNoItem) m_nodes[parent - 1].children.push_back(item);
  return item;
}

TreeItem MemoryDriveTree::addDisk(const PhysicalDriveRecord& record) { return add(m_physical, record.itemText); }

TreeItem MemoryDriveTree::addLogicalDrive(const LogicalDriveRecord& record) { return add(m_logical, record.itemText); }

TreeItem MemoryDriveTree::addPartition(TreeItem parent, const std::string& text) {
  if (node(parent) == nullptr) return kNoItem;
  return add(parent, text);
}

const MemoryDriveTree::Node* MemoryDriveTree::node(TreeItem item) const {
  if (item == kNoItem || item > m_nodes.size()) return nullptr;
  return &m_nodes[item - 1];
}

std::string MemoryDriveTree::itemText(TreeItem item) const {
  const Node* n = node(item);
  return n != nullptr ? n->text : std::string{};
}

int MemoryDriveTree::childCount(TreeItem item) const {
  const Node* n = node(item);
  return n != nullptr ? static_cast<int>(n->children.size()) : 0;
}

std::vector<std::string> MemoryDriveTree::childTexts(TreeItem item) const {
  std::vector<std::string> out;
  if (const Node* n = node(item)) {
    for (TreeItem child : n->children) out.push_back(itemText(child));
  }
  return out;
}

std::string MemoryDriveTree::render() const {
  std::string out;
  std::function<void(TreeItem, int)> visit = [&](TreeItem item, int depth) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += itemText(item);
    out += '\n';
    for (TreeItem child : node(item)->children) visit(child, depth + 1);
  };
  visit(m_root, 0);
  return out;
}

}  // namespace dravel::storage
