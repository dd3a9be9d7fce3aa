#pragma once
// Shows a result tree (the folders a scan found) in a search window's
// result tree control: one item per node, the node's id kept in the item,
// Root with image 0 and folders with image 1, every item with an unchecked
// check box. Items arrive one by one while a scan inserts folders, and the
// whole tree is drawn again from the engine's final tree when it ends.
// GUI thread only.

#include <QHash>
#include <QMetaObject>
#include <QString>

#include "results/ResultTree.h"

class QTreeWidgetItem;

namespace dravel::controls {
class CTreeClass;
}

namespace dravel::app {

class ResultTreeView {
 public:
  explicit ResultTreeView(controls::CTreeClass* tree);
  ~ResultTreeView();
  ResultTreeView(const ResultTreeView&) = delete;
  ResultTreeView& operator=(const ResultTreeView&) = delete;

  [[nodiscard]] controls::CTreeClass* tree() const { return m_tree; }

  // A folder the running scan inserted. Its parent is shown already, except
  // Root, which the tree makes without telling and which is made here.
  void addLive(results::NodeId node, results::NodeId parent, const QString& text);
  // Draws the whole tree anew; Root is expanded.
  void rebuild(const results::ResultTree& result);
  void clear();

  // The item of a node, nullptr when it is not shown.
  [[nodiscard]] QTreeWidgetItem* itemOf(results::NodeId node) const;
  // The node of an item, kNoNode for none.
  [[nodiscard]] static results::NodeId nodeOf(const QTreeWidgetItem* item);
  [[nodiscard]] bool isRoot(const QTreeWidgetItem* item) const;

  // A folder's new name, or its deleted mark, from a listing or an expansion.
  void folderChanged(results::NodeId node, const QString& name, bool deleted);
  [[nodiscard]] static bool isDeleted(const QTreeWidgetItem* item);

 private:
  QTreeWidgetItem* makeItem(results::NodeId node, QTreeWidgetItem* parent, const QString& text, int image);

  controls::CTreeClass* m_tree;
  QHash<results::NodeId, QTreeWidgetItem*> m_items;
  QMetaObject::Connection m_resetConnection;
};

}  // namespace dravel::app
