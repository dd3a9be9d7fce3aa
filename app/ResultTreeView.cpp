#include "ResultTreeView.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidgetItem>

#include "controls/CTreeClass.h"

namespace dravel::app {
namespace {

constexpr int kNodeRole = Qt::UserRole + 1;
constexpr int kDeletedRole = Qt::UserRole + 2;

}  // namespace

ResultTreeView::ResultTreeView(controls::CTreeClass* tree) : m_tree(tree) {
  auto* style = QApplication::style();
  m_tree->setImageList({style->standardIcon(QStyle::SP_DriveHDIcon), style->standardIcon(QStyle::SP_DirIcon)});
  m_tree->setCheckBoxesEnabled(true);
  // The frame empties the tree on Back and on a new drive listing; the items
  // known here go with it.
  m_resetConnection = QObject::connect(m_tree->model(), &QAbstractItemModel::modelAboutToBeReset, m_tree,
                                      [this] { m_items.clear(); });
}

// The tree outlives the view and empties its model once more when it goes.
ResultTreeView::~ResultTreeView() { QObject::disconnect(m_resetConnection); }

QTreeWidgetItem* ResultTreeView::makeItem(results::NodeId node, QTreeWidgetItem* parent, const QString& text,
                                          int image) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setData(0, kNodeRole, node);
  if (parent != nullptr)
    parent->addChild(item);
  else
    m_tree->addTopLevelItem(item);
  m_tree->setItemImage(item, image);
  m_items.insert(node, item);
  return item;
}

void ResultTreeView::addLive(results::NodeId node, results::NodeId parent, const QString& text) {
  if (m_items.contains(node)) return;
  QTreeWidgetItem* parentItem = itemOf(parent);
  if (parentItem == nullptr && parent != results::kNoNode) {
    parentItem = makeItem(parent, nullptr, QString::fromUtf8(results::kRootName), results::kRootImage);
    parentItem->setExpanded(true);
  }
  makeItem(node, parentItem, text, results::kFolderImage);
}

void ResultTreeView::rebuild(const results::ResultTree& result) {
  m_tree->setUpdatesEnabled(false);
  clear();
  for (const results::NodeId id : result.preorder()) {
    const auto& node = result.node(id);
    auto* item = makeItem(id, itemOf(node.parent), QString::fromStdString(node.text),
                          result.isRoot(id) ? results::kRootImage : node.image);
    if (const auto* record = result.recordOf(id); record != nullptr && record->deleted)
      item->setData(0, kDeletedRole, true);
  }
  if (auto* root = m_tree->topLevelItem(0)) root->setExpanded(true);
  m_tree->setUpdatesEnabled(true);
}

void ResultTreeView::clear() {
  m_tree->clear();
  m_items.clear();
}

QTreeWidgetItem* ResultTreeView::itemOf(results::NodeId node) const { return m_items.value(node, nullptr); }

results::NodeId ResultTreeView::nodeOf(const QTreeWidgetItem* item) {
  if (item == nullptr) return results::kNoNode;
  const QVariant node = item->data(0, kNodeRole);
  return node.isValid() ? node.value<results::NodeId>() : results::kNoNode;
}

bool ResultTreeView::isRoot(const QTreeWidgetItem* item) const {
  return item != nullptr && item == m_tree->topLevelItem(0);
}

void ResultTreeView::folderChanged(results::NodeId node, const QString& name, bool deleted) {
  auto* item = itemOf(node);
  if (item == nullptr) return;
  if (!name.isEmpty()) item->setText(0, name);
  if (deleted) item->setData(0, kDeletedRole, true);
}

bool ResultTreeView::isDeleted(const QTreeWidgetItem* item) {
  return item != nullptr && item->data(0, kDeletedRole).toBool();
}

}  // namespace dravel::app
