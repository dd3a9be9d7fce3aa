#pragma once
// A report list with alternating row colours (both white), a minimum column
// width of 20 pixels when the header divider is dragged (widths set by the
// program are taken as they are), and sorting by a click on a column header:
// the hidden tables of the main window and one list each of the Signature and
// Video Search windows.

#include <QTreeWidget>
#include <optional>

#include "CHideColumn.h"  // ListColumn

namespace dravel::controls {

class CColoredListCtrl : public QTreeWidget {
  Q_OBJECT
 public:
  static constexpr int kMinimumColumnWidth = 20;

  explicit CColoredListCtrl(QWidget* parent = nullptr);

  // Drops every row and column and sets these columns (`hidden` is not used here).
  void setColumns(const QList<ListColumn>& columns);
  void appendRow(const QStringList& cells);
  void clearRows();
  [[nodiscard]] int rowCount() const;
  [[nodiscard]] QString cellText(int row, int column) const;

  void setRowColours(const QColor& even, const QColor& odd);
  [[nodiscard]] QColor evenRowColour() const { return m_even; }
  [[nodiscard]] QColor oddRowColour() const { return m_odd; }

  // Rows whose cell in the sort column equals this text stay where they are
  // and split the rows into groups sorted separately. None by default.
  void setSeparatorText(std::optional<QString> text) { m_separator = std::move(text); }
  [[nodiscard]] const std::optional<QString>& separatorText() const { return m_separator; }

  // Sort by column: sorts the rows by the cells of the column (hexadecimal
  // numbers, then decimal numbers, then dates, then case-sensitive text; see
  // compareListCells), keeps selection, current row, check states and item
  // data with their rows, and emits sorted. False, with no change, for a
  // column that does not exist. Rows with equal cells keep their order.
  bool sortRows(int column, bool ascending);
  // What a click on the column's header does: ascending unless the column was
  // the last one sorted ascending. False when nothing happened.
  bool headerClicked(int column);

  [[nodiscard]] int lastSortColumn() const { return m_sortColumn; }  // -1 before the first sort
  [[nodiscard]] bool lastSortAscending() const { return m_ascending; }

 signals:
  // The 0xA711 message of the Windows version: which column, which direction.
  void sorted(int column, bool ascending);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyRowColours();
  void sectionResized(int column, int newSize);

  QColor m_even = Qt::white;
  QColor m_odd = Qt::white;
  int m_sortColumn = -1;
  bool m_ascending = true;
  std::optional<QString> m_separator;
  bool m_headerPressed = false;  // the left button is down on the header
  bool m_clamping = false;
};

}  // namespace dravel::controls
