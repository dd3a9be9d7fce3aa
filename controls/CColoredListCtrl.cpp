#include "CColoredListCtrl.h"

#include <QEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <numeric>
#include <vector>

#include "common/SortKeys.h"

namespace dravel::controls {

CColoredListCtrl::CColoredListCtrl(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setSortingEnabled(false);  // the header click sorts with our comparison, not Qt's
  // The 20-pixel minimum holds for the divider only (below); widths set by
  // the program are taken as they are.
  header()->setMinimumSectionSize(0);
  header()->viewport()->installEventFilter(this);
  connect(header(), &QHeaderView::sectionResized, this,
          [this](int column, int /*oldSize*/, int newSize) { sectionResized(column, newSize); });
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { headerClicked(column); });
  applyRowColours();
}

// Set for every colour group, so that the system's palette never changes them.
void CColoredListCtrl::applyRowColours() {
  auto p = palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Base, m_even);
    p.setColor(group, QPalette::AlternateBase, m_odd);
    p.setColor(group, QPalette::Text, Qt::black);
  }
  setPalette(p);
  setAlternatingRowColors(true);
}

void CColoredListCtrl::setRowColours(const QColor& even, const QColor& odd) {
  m_even = even;
  m_odd = odd;
  applyRowColours();
}

void CColoredListCtrl::setColumns(const QList<ListColumn>& columns) {
  clear();
  setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const auto& column : columns) titles << column.title;
  setHeaderLabels(titles);
  for (int i = 0; i < columns.size(); ++i) setColumnWidth(i, columns[i].width);
  m_sortColumn = -1;
  m_ascending = true;
}

void CColoredListCtrl::appendRow(const QStringList& cells) { addTopLevelItem(new QTreeWidgetItem(cells)); }

void CColoredListCtrl::clearRows() { clear(); }

int CColoredListCtrl::rowCount() const { return topLevelItemCount(); }

QString CColoredListCtrl::cellText(int row, int column) const {
  const auto* item = topLevelItem(row);
  return item != nullptr ? item->text(column) : QString();
}

// A drag of a divider (the left button is down on the header) stops at the
// minimum width.
void CColoredListCtrl::sectionResized(int column, int newSize) {
  if (!m_headerPressed || m_clamping || newSize >= kMinimumColumnWidth) return;
  m_clamping = true;
  header()->resizeSection(column, kMinimumColumnWidth);
  m_clamping = false;
}

bool CColoredListCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == header()->viewport()) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
      m_headerPressed = true;
    else if (event->type() == QEvent::MouseButtonRelease)
      m_headerPressed = false;
  }
  return QTreeWidget::eventFilter(watched, event);
}

bool CColoredListCtrl::headerClicked(int column) {
  if (isHeaderHidden() || column < 0 || column >= columnCount()) return false;
  const bool ascending = column != m_sortColumn || !m_ascending;
  return sortRows(column, ascending);
}

// Each cell is converted once; the rows are taken out, put in order group by
// group, and put back as the same items, so their texts, icons, check states
// and data travel with them. Selection and current row are carried over.
bool CColoredListCtrl::sortRows(int column, bool ascending) {
  if (column < 0 || column >= columnCount()) return false;
  {
    const QSignalBlocker blockView(this);
    const QSignalBlocker blockSelection(selectionModel());
    QTreeWidgetItem* current = currentItem();
    const QList<QTreeWidgetItem*> selected = selectedItems();
    QList<QTreeWidgetItem*> rows = invisibleRootItem()->takeChildren();
    const auto count = static_cast<std::size_t>(rows.size());

    std::vector<CellSortKey> keys;
    keys.reserve(count);
    for (const auto* row : rows) keys.push_back(makeCellSortKey(row->text(column).toStdString()));
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto less = [&keys, ascending](std::size_t a, std::size_t b) {
      return ascending ? compareCellSortKeys(keys[a], keys[b]) < 0 : compareCellSortKeys(keys[b], keys[a]) < 0;
    };
    std::size_t groupStart = 0;
    for (std::size_t i = 0; i <= count; ++i) {
      const bool separator = i < count && m_separator && rows[static_cast<qsizetype>(i)]->text(column) == *m_separator;
      if (i < count && !separator) continue;
      stableSortSafe(order.begin() + static_cast<std::ptrdiff_t>(groupStart),
                     order.begin() + static_cast<std::ptrdiff_t>(i), less);
      groupStart = i + 1;
    }

    QList<QTreeWidgetItem*> sortedRows;
    sortedRows.reserve(rows.size());
    for (const auto index : order) sortedRows.append(rows[static_cast<qsizetype>(index)]);
    addTopLevelItems(sortedRows);

    if (current != nullptr)
      selectionModel()->setCurrentIndex(indexFromItem(current), QItemSelectionModel::NoUpdate);
    for (auto* item : selected) item->setSelected(true);
  }
  viewport()->update();
  m_sortColumn = column;
  m_ascending = ascending;
  emit sorted(column, ascending);
  return true;
}

}  // namespace dravel::controls
