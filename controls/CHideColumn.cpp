#include "CHideColumn.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace dravel::controls {
namespace {

// The grid lines of a report list: a light line right of and below each cell.
class GridLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(QColor(0xD8, 0xD8, 0xD8));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};

}  // namespace

CHideColumn::CHideColumn(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);  // full-row select
  setAllColumnsShowFocus(true);
  setItemDelegate(new GridLineDelegate(this));
  header()->setSectionsMovable(true);  // header drag-and-drop
  header()->setMinimumSectionSize(0);  // widths as given: the windows set some visible columns to 0
  connect(header(), &QHeaderView::sectionMoved, this,
          [this](int logical, int oldVisual, int newVisual) { sectionMoved(logical, oldVisual, newVisual); });
}

// Every section shown, resizable and back in its own place.
void CHideColumn::resetHeader(int count) {
  auto* head = header();
  m_moving = true;
  for (int column = 0; column < count; ++column) {
    head->showSection(column);
    head->setSectionResizeMode(column, QHeaderView::Interactive);
  }
  for (int column = 0; column < count; ++column)
    if (head->visualIndex(column) != column) head->moveSection(head->visualIndex(column), column);
  m_moving = false;
  m_records = QList<ColumnRecord>(count);
}

void CHideColumn::setColumns(const QList<ListColumn>& columns) {
  clear();
  const int count = static_cast<int>(columns.size());
  setColumnCount(count);
  QStringList titles;
  for (const auto& column : columns) titles << column.title;
  setHeaderLabels(titles);
  resetHeader(count);
  for (int i = 0; i < count; ++i) QTreeWidget::setColumnWidth(i, columns[i].width);
  for (int i = 0; i < count; ++i) {
    if (!columns[i].hidden) continue;
    hideColumn(i);
    m_records[i].width = columns[i].width;  // not the section's size: the last one may be stretched
  }
}

void CHideColumn::appendRow(const QStringList& cells) { addTopLevelItem(new QTreeWidgetItem(cells)); }

void CHideColumn::clearRows() { clear(); }

int CHideColumn::rowCount() const { return topLevelItemCount(); }

QString CHideColumn::cellText(int row, int column) const {
  const auto* item = topLevelItem(row);
  return item != nullptr ? item->text(column) : QString();
}

int CHideColumn::hiddenCount(int except) const {
  int count = 0;
  for (int i = 0; i < m_records.size(); ++i)
    if (i != except && !m_records[i].visible) ++count;
  return count;
}

bool CHideColumn::isColumnHidden(int column) const {
  return column >= 0 && column < m_records.size() && !m_records[column].visible;
}

int CHideColumn::recordedWidth(int column) const {
  if (isColumnHidden(column)) return m_records[column].width;
  return columnWidth(column);
}

// The former position is kept as the place among the visible columns, so that
// hiding and showing in reverse order restores the order exactly.
void CHideColumn::showColumn(int column, bool show) {
  auto* head = header();
  if (column < 0 || column >= columnCount()) return;
  if (m_records.size() < columnCount()) m_records.resize(columnCount());
  auto& record = m_records[column];
  if (show == record.visible) {
    if (!show) head->hideSection(column);  // hidden again after Ctrl+keypad plus showed it
    return;
  }
  m_moving = true;
  if (!show) {
    record.width = head->sectionSize(column);
    const int visual = head->visualIndex(column);
    const int place = visual - hiddenCount();
    record.visible = false;
    head->setSectionResizeMode(column, QHeaderView::Fixed);
    head->hideSection(column);
    record.formerPosition = visual > 0 ? place : -1;
    if (visual > 0) head->moveSection(visual, 0);
  } else {
    record.visible = true;
    head->showSection(column);
    head->setSectionResizeMode(column, QHeaderView::Interactive);
    if (record.formerPosition >= 0) {
      const int target = std::min(hiddenCount() + record.formerPosition, columnCount() - 1);
      head->moveSection(head->visualIndex(column), target);
    }
    record.formerPosition = -1;
    head->resizeSection(column, record.width);
  }
  m_moving = false;
}

void CHideColumn::setColumnWidth(int column, int width) {
  if (isColumnHidden(column)) return;
  QTreeWidget::setColumnWidth(column, width);
}

void CHideColumn::sizeAllColumnsToContents() {
  for (int column = 0; column < columnCount(); ++column) {
    if (isColumnHidden(column)) header()->showSection(column);
    resizeColumnToContents(column);
  }
}

// The hidden columns stay in front: a move that breaks that is undone.
void CHideColumn::sectionMoved(int logical, int oldVisual, int newVisual) {
  if (m_moving) return;
  const int hidden = hiddenCount();
  const bool columnHidden = isColumnHidden(logical);
  const bool allowed = columnHidden ? newVisual < hidden : newVisual >= hidden;
  if (allowed) return;
  m_moving = true;
  header()->moveSection(newVisual, oldVisual);
  m_moving = false;
}

void CHideColumn::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Plus && (event->modifiers() & Qt::ControlModifier) &&
      (event->modifiers() & Qt::KeypadModifier)) {
    sizeAllColumnsToContents();
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace dravel::controls
