#pragma once
// The tree of recovered folders a scan builds: the folder list in insertion
// order, the tree nodes that show it, and the table that keeps a folder id
// from being inserted twice. Plain data: whoever owns it serialises access.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "FolderRecord.h"

namespace dravel::results {

struct TreeNode {
  std::string text;
  NodeId parent = kNoNode;          // kNoNode for a top-level node
  std::vector<NodeId> children;     // in display order
  int image = kFolderImage;
  std::optional<std::size_t> record;  // index into the folder list; Root has none
};

struct FolderInsert {
  NodeId parent = kNoNode;  // kNoNode: under Root (made when missing)
  std::string name;
  std::uint64_t selfId = 0;
  std::uint64_t date = 0;
  std::uint64_t time = 0;
  std::uint32_t parentId = 0;
  bool deleted = false;
  std::uint64_t cluster0Start = 0;
};

class ResultTree {
 public:
  // Inserts a folder and returns its node; a folder whose id was inserted
  // before returns the first node instead (unless a recovery log is being
  // loaded), which also keeps parent cycles from repeating a folder.
  NodeId insertFolder(const FolderInsert& folder);

  // Makes sure the tree begins with Root and returns it.
  NodeId ensureRoot();

  [[nodiscard]] bool empty() const { return m_nodes.empty(); }
  [[nodiscard]] std::size_t nodeCount() const { return m_nodes.size(); }
  [[nodiscard]] const std::vector<NodeId>& topLevel() const { return m_topLevel; }
  [[nodiscard]] NodeId firstItem() const { return m_topLevel.empty() ? kNoNode : m_topLevel.front(); }
  [[nodiscard]] const TreeNode& node(NodeId id) const { return m_nodes.at(id); }
  [[nodiscard]] bool isRoot(NodeId id) const { return id != kNoNode && id == firstItem() && !m_nodes[id].record; }

  // The folder list, in the order folders were inserted.
  [[nodiscard]] const std::vector<FolderRecord>& folders() const { return m_folders; }
  [[nodiscard]] const FolderRecord* recordOf(NodeId id) const;
  [[nodiscard]] FolderRecord* recordOf(NodeId id);
  // First folder inserted with this id; the root id never matches.
  [[nodiscard]] const FolderRecord* findFolderById(std::uint32_t id, std::uint32_t rootId) const;
  // The node made for a folder id, from the tree item table.
  [[nodiscard]] std::optional<NodeId> nodeForId(std::uint64_t selfId) const;

  // Renames a folder's node and record; `deleted` only ever sets the flag.
  void resolveName(NodeId id, const std::string& name, bool deleted);
  void setText(NodeId id, const std::string& text);
  void setImage(NodeId id, int image) { m_nodes.at(id).image = image; }
  void markExpanded(NodeId id);
  void markDeleted(NodeId id);

  // Sorts a node's children (or the top level for kNoNode) by text, caseless.
  void sortChildren(NodeId id);

  // Root, then its descendants depth first, each before its children.
  [[nodiscard]] std::vector<NodeId> preorder() const;
  // Names from below the first top-level item down to `id`, outermost first.
  [[nodiscard]] std::vector<std::string> pathOf(NodeId id) const;

  // A recovery log re-inserts ids it stores; it turns the duplicate check off.
  void setLoadingLog(bool loading) { m_loadingLog = loading; }

  // Called after every insert, on the inserting thread.
  void setInsertObserver(std::function<void(NodeId)> observer) { m_observer = std::move(observer); }

  void clear();

 private:
  NodeId addNode(NodeId parent, std::string text, int image);

  std::vector<TreeNode> m_nodes;
  std::vector<NodeId> m_topLevel;
  std::vector<FolderRecord> m_folders;
  std::unordered_map<std::uint64_t, NodeId> m_itemTable;     // SelfId → node
  std::unordered_map<std::uint32_t, std::size_t> m_byId;     // SelfId → first record
  bool m_loadingLog = false;
  std::function<void(NodeId)> m_observer;
};

}  // namespace dravel::results
