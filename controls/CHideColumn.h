#pragma once
// A report list whose columns can be hidden and shown again: the information
// list and the content list of the search windows.

#include <QTreeWidget>

namespace dravel::controls {

struct ListColumn {
  QString title;
  int width = 100;
};

class CHideColumn : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CHideColumn(QWidget* parent = nullptr);

  // Drops every row and column and sets these columns.
  void setColumns(const QList<ListColumn>& columns);
  void appendRow(const QStringList& cells);
  void clearRows();
  [[nodiscard]] int rowCount() const;
  [[nodiscard]] QString cellText(int row, int column) const;
};

}  // namespace dravel::controls
