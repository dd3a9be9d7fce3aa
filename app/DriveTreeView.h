#pragma once
// Shows a drive listing in a search window's drive tree and answers what a
// selected item is: "My Computer", a group node, a disk, a partition or a
// logical drive, with the drive record it carries.

#include <QTreeWidgetItem>
#include <memory>

#include "DriveListing.h"

namespace dravel::controls {
class CTreeClass;
}

namespace dravel::app {

enum class DriveItemKind { None, MyComputer, PhysicalDrives, LogicalDrives, Disk, Partition, Volume };

class DriveTreeView {
 public:
  explicit DriveTreeView(controls::CTreeClass* tree);

  // Rebuilds the tree from nothing; the root, "Logical Drives" and
  // "Physical Drives" are expanded and the root is selected.
  void show(std::shared_ptr<const DriveListingResult> listing);
  void clear();

  [[nodiscard]] const DriveListingResult* listing() const { return m_listing.get(); }
  [[nodiscard]] DriveItemKind kindOf(const QTreeWidgetItem* item) const;
  [[nodiscard]] const storage::PhysicalDriveRecord* diskRecord(const QTreeWidgetItem* item) const;
  [[nodiscard]] const storage::LogicalDriveRecord* volumeRecord(const QTreeWidgetItem* item) const;
  // The disk table entry of a partition item, with its disk number; nullptr when not found.
  [[nodiscard]] const partitions::PartitionEntry* partitionEntry(const QTreeWidgetItem* item, int* diskNumber) const;

  [[nodiscard]] QTreeWidgetItem* root() const { return m_root; }
  [[nodiscard]] QTreeWidgetItem* physicalNode() const { return m_physical; }
  [[nodiscard]] QTreeWidgetItem* logicalNode() const { return m_logical; }
  // The first item whose text is `text`, searched depth first.
  [[nodiscard]] QTreeWidgetItem* findItem(const QString& text) const;

 private:
  void addChildren(QTreeWidgetItem* parent, storage::TreeItem node, int image);
  [[nodiscard]] storage::TreeItem idOf(const QTreeWidgetItem* item) const;

  controls::CTreeClass* m_tree;
  std::shared_ptr<const DriveListingResult> m_listing;
  QTreeWidgetItem* m_root = nullptr;
  QTreeWidgetItem* m_physical = nullptr;
  QTreeWidgetItem* m_logical = nullptr;
};

}  // namespace dravel::app
