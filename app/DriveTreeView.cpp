#include "DriveTreeView.h"

#include <QApplication>
#include <QStyle>

#include "controls/CTreeClass.h"

namespace dravel::app {
namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kKindRole = Qt::UserRole + 2;

// The four pictures of the drive tree, by the index the tree's levels use.
QIcon treeImage(int index) {
  auto* style = QApplication::style();
  switch (index) {
    case 0: return style->standardIcon(QStyle::SP_ComputerIcon);
    case 1: return style->standardIcon(QStyle::SP_DirIcon);
    case 2: return style->standardIcon(QStyle::SP_DriveFDIcon);
    default: return style->standardIcon(QStyle::SP_DriveHDIcon);
  }
}

QTreeWidgetItem* makeItem(const QString& text, int image, DriveItemKind kind, storage::TreeItem id) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setIcon(0, treeImage(image));
  item->setData(0, kKindRole, static_cast<int>(kind));
  item->setData(0, kIdRole, QVariant::fromValue<qulonglong>(id));
  return item;
}

}  // namespace

DriveTreeView::DriveTreeView(controls::CTreeClass* tree) : m_tree(tree) {}

void DriveTreeView::clear() {
  m_tree->clear();
  m_root = m_physical = m_logical = nullptr;
  m_listing.reset();
}

void DriveTreeView::show(std::shared_ptr<const DriveListingResult> listing) {
  clear();
  m_listing = std::move(listing);
  if (!m_listing) return;
  const auto& tree = m_listing->tree;
  m_root = makeItem(QStringLiteral("My Computer"), 0, DriveItemKind::MyComputer, tree.root());
  m_physical = makeItem(QStringLiteral("Physical Drives"), 3, DriveItemKind::PhysicalDrives, tree.physicalDrives());
  m_logical = makeItem(QStringLiteral("Logical Drives"), 1, DriveItemKind::LogicalDrives, tree.logicalDrives());
  m_root->addChild(m_physical);
  m_root->addChild(m_logical);
  m_tree->addTopLevelItem(m_root);
  addChildren(m_physical, tree.physicalDrives(), 3);
  addChildren(m_logical, tree.logicalDrives(), 2);
  m_root->setExpanded(true);
  m_logical->setExpanded(true);
  m_physical->setExpanded(true);
  for (int i = 0; i < m_physical->childCount(); ++i) m_physical->child(i)->setExpanded(true);
  m_tree->setCurrentItem(m_root);
}

void DriveTreeView::addChildren(QTreeWidgetItem* parent, storage::TreeItem node, int image) {
  const auto* n = m_listing->tree.node(node);
  if (n == nullptr) return;
  for (const auto child : n->children) {
    const auto* c = m_listing->tree.node(child);
    DriveItemKind kind = DriveItemKind::Partition;
    if (parent == m_physical) kind = DriveItemKind::Disk;
    if (parent == m_logical) kind = DriveItemKind::Volume;
    auto* item = makeItem(QString::fromStdString(c->text), kind == DriveItemKind::Partition ? 2 : image, kind, child);
    parent->addChild(item);
    addChildren(item, child, 2);
  }
}

storage::TreeItem DriveTreeView::idOf(const QTreeWidgetItem* item) const {
  return item != nullptr ? item->data(0, kIdRole).toULongLong() : storage::kNoItem;
}

DriveItemKind DriveTreeView::kindOf(const QTreeWidgetItem* item) const {
  return item != nullptr ? static_cast<DriveItemKind>(item->data(0, kKindRole).toInt()) : DriveItemKind::None;
}

const storage::PhysicalDriveRecord* DriveTreeView::diskRecord(const QTreeWidgetItem* item) const {
  if (!m_listing || kindOf(item) != DriveItemKind::Disk) return nullptr;
  const auto found = m_listing->records.find(idOf(item));
  if (found == m_listing->records.end()) return nullptr;
  return std::get_if<storage::PhysicalDriveRecord>(&found->second);
}

const storage::LogicalDriveRecord* DriveTreeView::volumeRecord(const QTreeWidgetItem* item) const {
  if (!m_listing || kindOf(item) != DriveItemKind::Volume) return nullptr;
  const auto found = m_listing->records.find(idOf(item));
  if (found == m_listing->records.end()) return nullptr;
  return std::get_if<storage::LogicalDriveRecord>(&found->second);
}

const partitions::PartitionEntry* DriveTreeView::partitionEntry(const QTreeWidgetItem* item, int* diskNumber) const {
  if (!m_listing || kindOf(item) != DriveItemKind::Partition) return nullptr;
  const auto* disk = diskRecord(item->parent());
  if (disk == nullptr) return nullptr;
  const auto* entry = m_listing->table.disk(disk->diskNumber);
  if (entry == nullptr) return nullptr;
  const auto id = idOf(item);
  const int count = std::min(entry->partitionCount, partitions::kPartitionEntries);
  for (int i = 0; i < count; ++i) {
    if (entry->entries[static_cast<std::size_t>(i)].item == id) {
      if (diskNumber != nullptr) *diskNumber = disk->diskNumber;
      return &entry->entries[static_cast<std::size_t>(i)];
    }
  }
  return nullptr;
}

QTreeWidgetItem* DriveTreeView::findItem(const QString& text) const {
  const auto found = m_tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

}  // namespace dravel::app
