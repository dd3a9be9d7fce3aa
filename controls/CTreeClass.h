#pragma once
// The tree of the search windows: the drive tree and the result tree. A
// QTreeWidget with one column and no header, per-item text colours and fonts,
// and tri-state check boxes that propagate up and down in our own code (Qt's
// ItemIsAutoTristate is not used). Qt's backing store already paints every
// widget double-buffered, so the tree needs no memory bitmap of its own
// against flicker.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

namespace dravel::controls {

class CTreeClass : public QTreeWidget {
  Q_OBJECT
 public:
  // The one stored colour that is drawn (the others keep the default colour).
  static constexpr QRgb kDarkGreen = 0x008000;

  explicit CTreeClass(QWidget* parent = nullptr);

  // Colour: black (0) or an invalid colour takes the default. As in the
  // Windows version, only dark green (0x008000) is drawn differently from the
  // default text colour; any other colour is kept but drawn in the default.
  void setItemColour(QTreeWidgetItem* item, const QColor& colour);
  [[nodiscard]] QColor itemColour(const QTreeWidgetItem* item) const;  // invalid when default
  // Font: one with an empty family takes the tree's font again.
  void setItemFont(QTreeWidgetItem* item, const QFont& font);

  // Images by index, as a tree view's image list: an item shows the icon its
  // index names (the result tree: 0 for Root, 1 for a folder). An index
  // outside the list shows no icon.
  void setImageList(const QList<QIcon>& images);
  void setItemImage(QTreeWidgetItem* item, int image);
  [[nodiscard]] int itemImage(const QTreeWidgetItem* item) const;  // -1 when none

  // Check boxes. When enabled, every item (present and added later) shows one,
  // created unchecked. A click on an item's check box selects the item and
  // toggles it (toggleCheck); so does the space bar on the current item.
  void setCheckBoxesEnabled(bool enabled);
  [[nodiscard]] bool checkBoxesEnabled() const { return m_checkBoxes; }
  // The item alone.
  void setCheckState(QTreeWidgetItem* item, Qt::CheckState state);
  // The item and all its descendants.
  void setSubtreeCheckState(QTreeWidgetItem* item, Qt::CheckState state);
  // The check-box click without the selection: a checked item is unchecked
  // with its subtree, each ancestor becomes unchecked when all its children
  // are, else partly checked; an unchecked or partly checked item is checked
  // with its subtree, each ancestor becomes checked when all its children
  // are, else partly checked.
  void toggleCheck(QTreeWidgetItem* item);
  [[nodiscard]] Qt::CheckState checkState(const QTreeWidgetItem* item) const;

  // The texts of the item's ancestors below the first top-level item and of
  // the item itself, joined with "\"; empty for none (and for the first
  // top-level item itself).
  [[nodiscard]] QString itemPath(const QTreeWidgetItem* item) const;
  // Direct children; 0 for none.
  [[nodiscard]] int childCount(const QTreeWidgetItem* item) const;

 signals:
  // After a click (or the space bar) toggled the item's check box.
  void checkToggled(QTreeWidgetItem* item);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  [[nodiscard]] QTreeWidgetItem* checkBoxItemAt(const QPoint& viewportPos) const;
  // A left press on an item's check box toggles it; false for any other press.
  bool takeCheckBoxClick(QMouseEvent* event);
  void clickCheckBox(QTreeWidgetItem* item);
  void prepareCheckBoxes(QTreeWidgetItem* item);
  void removeCheckBoxes(QTreeWidgetItem* item);
  void rowsAdded(const QModelIndex& parent, int first, int last);

  QList<QIcon> m_images;
  bool m_checkBoxes = false;
  bool m_swallowRelease = false;
};

}  // namespace dravel::controls
