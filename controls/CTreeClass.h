#pragma once
// The tree of the search windows: the drive tree and the result tree. A
// QTreeWidget with per-item text colours and fonts and tri-state check boxes
// that propagate up and down.

#include <QTreeWidget>

namespace dravel::controls {

class CTreeClass : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CTreeClass(QWidget* parent = nullptr);
};

}  // namespace dravel::controls
