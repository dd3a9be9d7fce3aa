#pragma once
// A drive tree held in memory: "My Computer" with "Physical Drives" and
// "Logical Drives" beneath it. The command line prints it; tests inspect it.

#include <string>
#include <vector>

#include "DriveTreeSink.h"

namespace dravel::storage {

class MemoryDriveTree final : public DriveTreeSink {
 public:
  struct Node {
    std::string text;
    TreeItem parent = kNoItem;
    std::vector<TreeItem> children;
  };

  MemoryDriveTree();

  TreeItem addDisk(const PhysicalDriveRecord& record) override;
  TreeItem addLogicalDrive(const LogicalDriveRecord& record) override;
  TreeItem addPartition(TreeItem parent, const std::string& text) override;
  [[nodiscard]] std::string itemText(TreeItem item) const override;
  [[nodiscard]] int childCount(TreeItem item) const override;

  [[nodiscard]] TreeItem root() const { return m_root; }
  [[nodiscard]] TreeItem physicalDrives() const { return m_physical; }
  [[nodiscard]] TreeItem logicalDrives() const { return m_logical; }
  [[nodiscard]] const Node* node(TreeItem item) const;
  [[nodiscard]] std::vector<std::string> childTexts(TreeItem item) const;

  // Each item on its own line, two blanks of indentation per level.
  [[nodiscard]] std::string render() const;

 private:
  TreeItem add(TreeItem parent, std::string text);
  std::vector<Node> m_nodes;  // item n lives at index n - 1
  TreeItem m_root = kNoItem;
  TreeItem m_physical = kNoItem;
  TreeItem m_logical = kNoItem;
};

}  // namespace dravel::storage
