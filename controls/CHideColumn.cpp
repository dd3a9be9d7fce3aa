#include "CHideColumn.h"

#include <QHeaderView>

namespace dravel::controls {

CHideColumn::CHideColumn(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
}

void CHideColumn::setColumns(const QList<ListColumn>& columns) {
  clear();
  setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const auto& column : columns) titles << column.title;
  setHeaderLabels(titles);
  for (int i = 0; i < columns.size(); ++i) setColumnWidth(i, columns[i].width);
}

void CHideColumn::appendRow(const QStringList& cells) { addTopLevelItem(new QTreeWidgetItem(cells)); }

void CHideColumn::clearRows() { clear(); }

int CHideColumn::rowCount() const { return topLevelItemCount(); }

QString CHideColumn::cellText(int row, int column) const {
  const auto* item = topLevelItem(row);
  return item != nullptr ? item->text(column) : QString();
}

}  // namespace dravel::controls
