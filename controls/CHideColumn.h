#pragma once
// A report list whose columns can be hidden and shown again: the information
// list and the content list of the search windows.
//
// A hidden column is hidden in the header, moved to the front of the column
// order and refuses every resize: the user cannot drag its divider and
// setColumnWidth ignores it. Showing it moves it back to where it was and
// gives it the width it had. Visible columns cannot be dragged in front of
// the hidden ones. Ctrl with the keypad "+" sizes every column to its content,
// hidden ones included, which shows them (the way to peek at the debug
// columns); they stay hidden in every other respect.

#include <QList>
#include <QTreeWidget>

namespace dravel::controls {

struct ListColumn {
  QString title;
  int width = 100;
  bool hidden = false;  // inserted hidden at once (the debug columns)
};

class CHideColumn : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CHideColumn(QWidget* parent = nullptr);

  // Drops every row and column and sets these columns (hidden ones hidden).
  void setColumns(const QList<ListColumn>& columns);
  void appendRow(const QStringList& cells);
  void clearRows();
  [[nodiscard]] int rowCount() const;
  [[nodiscard]] QString cellText(int row, int column) const;

  // Show column (column, show flag). Out-of-range columns are ignored.
  void showColumn(int column, bool show = true);
  void hideColumn(int column) { showColumn(column, false); }
  [[nodiscard]] bool isColumnHidden(int column) const;
  // Ignored for hidden columns.
  void setColumnWidth(int column, int width);
  // The width a hidden column had when it was hidden (its own width otherwise).
  [[nodiscard]] int recordedWidth(int column) const;
  // Sizes every column, hidden ones included, to its content (Ctrl+keypad plus).
  void sizeAllColumnsToContents();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct ColumnRecord {
    bool visible = true;
    int width = 0;          // before it was hidden
    int formerPosition = -1;  // its place in the column order before it was moved; -1 when not moved
  };

  [[nodiscard]] int hiddenCount(int except = -1) const;
  void sectionMoved(int logical, int oldVisual, int newVisual);
  void resetHeader(int count);

  QList<ColumnRecord> m_records;
  bool m_moving = false;
};

}  // namespace dravel::controls
