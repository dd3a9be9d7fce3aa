// The list controls: CColoredListCtrl (row colours, minimum
// column width, header-click sorting), CHideColumn (hidden columns) and
// CColorStatic (its colours on screen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "controls/CColorStatic.h"
#include "controls/CColoredListCtrl.h"
#include "controls/CHideColumn.h"

namespace dravel::controls {
namespace {

QStringList column(const QTreeWidget& list, int index) {
  QStringList out;
  for (int i = 0; i < list.topLevelItemCount(); ++i) out << list.topLevelItem(i)->text(index);
  return out;
}

// Presses at `from` on the header and drags to `to` (header viewport coordinates).
void dragOnHeader(QHeaderView* header, QPoint from, QPoint to) {
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
  const int steps = 8;
  for (int i = 1; i <= steps; ++i) QTest::mouseMove(header->viewport(), from + (to - from) * i / steps);
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
}

void clickHeader(QHeaderView* header, int section) {
  const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// ---- CColoredListCtrl -------------------------------------------------------

struct ColoredListFixture : ::testing::Test {
  ColoredListFixture() {
    list.resize(500, 300);
    list.setColumns({{QStringLiteral("Name"), 120}, {QStringLiteral("Size"), 80}, {QStringLiteral("Date"), 100}});
    list.appendRow({QStringLiteral("beta"), QStringLiteral("10"), QStringLiteral("05-Mar-2024")});
    list.appendRow({QStringLiteral("Alpha"), QStringLiteral("9"), QStringLiteral("2023-12-31")});
    list.appendRow({QStringLiteral("gamma"), QStringLiteral("4294967295"), QStringLiteral("01-Jan-2024")});
    list.appendRow({QStringLiteral("delta"), QStringLiteral("1.5"), QStringLiteral("28-Feb-2024")});
    list.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
  }
  CColoredListCtrl list;
};

TEST_F(ColoredListFixture, HeaderClickSortsAscendingThenDescending) {
  QSignalSpy sorted(&list, &CColoredListCtrl::sorted);
  clickHeader(list.header(), 1);
  EXPECT_EQ(column(list, 1), (QStringList{"1.5", "9", "10", "4294967295"}));
  clickHeader(list.header(), 1);
  EXPECT_EQ(column(list, 1), (QStringList{"4294967295", "10", "9", "1.5"}));
  clickHeader(list.header(), 1);
  EXPECT_EQ(column(list, 1), (QStringList{"1.5", "9", "10", "4294967295"}));
  ASSERT_EQ(sorted.count(), 3);
  EXPECT_EQ(sorted.at(0), (QList<QVariant>{1, true}));
  EXPECT_EQ(sorted.at(1), (QList<QVariant>{1, false}));
  EXPECT_EQ(sorted.at(2), (QList<QVariant>{1, true}));
  EXPECT_EQ(list.lastSortColumn(), 1);
  EXPECT_TRUE(list.lastSortAscending());
}

TEST_F(ColoredListFixture, AnotherColumnStartsAscending) {
  list.headerClicked(1);
  list.headerClicked(1);  // descending on column 1
  list.headerClicked(2);
  EXPECT_EQ(column(list, 2), (QStringList{"2023-12-31", "01-Jan-2024", "28-Feb-2024", "05-Mar-2024"}));
  EXPECT_TRUE(list.lastSortAscending());
}

TEST_F(ColoredListFixture, TextSortIsCaseSensitive) {
  list.headerClicked(0);
  EXPECT_EQ(column(list, 0), (QStringList{"Alpha", "beta", "delta", "gamma"}));
  list.appendRow({QStringLiteral("Zeta"), QStringLiteral("1"), QString()});
  list.sortRows(0, true);
  EXPECT_EQ(column(list, 0), (QStringList{"Alpha", "Zeta", "beta", "delta", "gamma"}));
}

TEST_F(ColoredListFixture, RowsCarryTheirStateThroughTheSort) {
  auto* gamma = list.topLevelItem(2);
  gamma->setData(0, Qt::UserRole, 77);
  gamma->setCheckState(0, Qt::Checked);
  list.setCurrentItem(gamma);
  ASSERT_TRUE(gamma->isSelected());
  list.sortRows(1, false);
  EXPECT_EQ(list.topLevelItem(0), gamma);
  EXPECT_EQ(gamma->data(0, Qt::UserRole).toInt(), 77);
  EXPECT_EQ(gamma->checkState(0), Qt::Checked);
  EXPECT_TRUE(gamma->isSelected());
  EXPECT_EQ(list.currentItem(), gamma);
  EXPECT_EQ(list.selectedItems().size(), 1);
}

TEST_F(ColoredListFixture, EqualCellsKeepTheirOrder) {
  list.clearRows();
  for (int i = 0; i < 6; ++i) list.appendRow({QString::number(i), QStringLiteral("FOLDER")});
  list.sortRows(1, true);
  EXPECT_EQ(column(list, 0), (QStringList{"0", "1", "2", "3", "4", "5"}));
  list.sortRows(1, false);
  EXPECT_EQ(column(list, 0), (QStringList{"0", "1", "2", "3", "4", "5"}));
}

TEST_F(ColoredListFixture, SeparatorRowsSplitTheGroups) {
  list.clearRows();
  for (const char* name : {"d", "b", "--", "c", "a", "--", "f", "e"}) list.appendRow({QString::fromLatin1(name)});
  list.setSeparatorText(QStringLiteral("--"));
  list.sortRows(0, true);
  EXPECT_EQ(column(list, 0), (QStringList{"b", "d", "--", "a", "c", "--", "e", "f"}));
  list.sortRows(0, false);
  EXPECT_EQ(column(list, 0), (QStringList{"d", "b", "--", "c", "a", "--", "f", "e"}));
}

TEST_F(ColoredListFixture, MissingColumnOrHiddenHeaderChangesNothing) {
  QSignalSpy sorted(&list, &CColoredListCtrl::sorted);
  const auto before = column(list, 0);
  EXPECT_FALSE(list.sortRows(3, true));
  EXPECT_FALSE(list.sortRows(-1, true));
  EXPECT_FALSE(list.headerClicked(7));
  list.setHeaderHidden(true);
  EXPECT_FALSE(list.headerClicked(0));
  EXPECT_EQ(column(list, 0), before);
  EXPECT_EQ(sorted.count(), 0);
  EXPECT_EQ(list.lastSortColumn(), -1);
}

TEST_F(ColoredListFixture, RowsAreWhiteWithBlackText) {
  EXPECT_EQ(list.evenRowColour(), QColor(Qt::white));
  EXPECT_EQ(list.oddRowColour(), QColor(Qt::white));
  EXPECT_TRUE(list.alternatingRowColors());
  EXPECT_EQ(list.palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(list.palette().color(QPalette::AlternateBase), QColor(Qt::white));
  EXPECT_EQ(list.palette().color(QPalette::Text), QColor(Qt::black));
  // Drawn: a point near the right end of rows 0 and 1, clear of any text
  // (and with no current row, whose focus frame the style draws).
  list.selectionModel()->clearCurrentIndex();
  list.clearSelection();
  const QImage image = list.viewport()->grab().toImage();
  const int x = list.viewport()->width() - 5;
  const int row0 = list.visualItemRect(list.topLevelItem(0)).center().y();
  const int row1 = list.visualItemRect(list.topLevelItem(1)).center().y();
  EXPECT_EQ(image.pixelColor(x, row0), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(x, row1), QColor(Qt::white));
  list.setRowColours(QColor(Qt::white), QColor(200, 220, 240));
  const QImage coloured = list.viewport()->grab().toImage();
  EXPECT_EQ(coloured.pixelColor(x, row1), QColor(200, 220, 240));
}

TEST_F(ColoredListFixture, DividerStopsAtTwentyPixels) {
  auto* header = list.header();
  const int divider = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
  const int y = header->height() / 2;
  dragOnHeader(header, QPoint(divider, y), QPoint(1, y));
  EXPECT_EQ(list.columnWidth(0), 20);
  // Dragged wider again, it follows the pointer.
  const int edge = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
  dragOnHeader(header, QPoint(edge, y), QPoint(edge + 40, y));
  EXPECT_EQ(list.columnWidth(0), 60);
  // The program may set narrower widths.
  list.setColumnWidth(1, 5);
  EXPECT_EQ(list.columnWidth(1), 5);
}

// ---- CHideColumn ------------------------------------------------------------

struct HideColumnFixture : ::testing::Test {
  HideColumnFixture() {
    list.resize(700, 300);
    list.setColumns({{QStringLiteral("Name"), 145},
                     {QStringLiteral("Type"), 60},
                     {QStringLiteral("Size"), 60},
                     {QStringLiteral("Debug 1"), 0, true},
                     {QStringLiteral("Date"), 70}});
    list.appendRow({QStringLiteral("a rather long file name.txt"), QStringLiteral("Text file"), QStringLiteral("12"),
                    QStringLiteral("1234567890 debug value"), QStringLiteral("05-Mar-2024")});
    list.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
  }
  QList<int> visualOrder() const {
    QList<int> order;
    for (int v = 0; v < list.header()->count(); ++v) order << list.header()->logicalIndex(v);
    return order;
  }
  CHideColumn list;
};

TEST_F(HideColumnFixture, KeepsTheRowFunctions) {
  EXPECT_EQ(list.rowCount(), 1);
  EXPECT_EQ(list.cellText(0, 1), QStringLiteral("Text file"));
  EXPECT_EQ(list.cellText(0, 3), QStringLiteral("1234567890 debug value"));
  EXPECT_EQ(list.cellText(5, 0), QString());
  list.clearRows();
  EXPECT_EQ(list.rowCount(), 0);
  EXPECT_EQ(list.columnCount(), 5);
}

TEST_F(HideColumnFixture, ColumnsInsertedHiddenAreHiddenAtOnce) {
  EXPECT_TRUE(list.isColumnHidden(3));
  EXPECT_EQ(list.columnWidth(3), 0);
  EXPECT_EQ(list.header()->visualIndex(3), 0);
  EXPECT_EQ(visualOrder(), (QList<int>{3, 0, 1, 2, 4}));
  EXPECT_FALSE(list.isColumnHidden(0));
  EXPECT_EQ(list.columnWidth(0), 145);
}

TEST_F(HideColumnFixture, HidingRecordsWidthAndMovesToTheFront) {
  list.hideColumn(1);
  EXPECT_TRUE(list.isColumnHidden(1));
  EXPECT_EQ(list.columnWidth(1), 0);
  EXPECT_EQ(list.recordedWidth(1), 60);
  EXPECT_EQ(visualOrder(), (QList<int>{1, 3, 0, 2, 4}));
  list.setColumnWidth(1, 90);  // ignored for a hidden column
  EXPECT_EQ(list.columnWidth(1), 0);
  EXPECT_EQ(list.recordedWidth(1), 60);
  list.showColumn(1);
  EXPECT_FALSE(list.isColumnHidden(1));
  EXPECT_EQ(list.columnWidth(1), 60);
  EXPECT_EQ(visualOrder(), (QList<int>{3, 0, 1, 2, 4}));
  list.setColumnWidth(1, 90);  // visible again: taken
  EXPECT_EQ(list.columnWidth(1), 90);
}

TEST_F(HideColumnFixture, ShowingInReverseOrderRestoresTheOrder) {
  list.hideColumn(2);
  list.hideColumn(0);
  EXPECT_EQ(visualOrder(), (QList<int>{0, 2, 3, 1, 4}));
  list.showColumn(0, true);
  list.showColumn(2, true);
  EXPECT_EQ(visualOrder(), (QList<int>{3, 0, 1, 2, 4}));
  EXPECT_EQ(list.columnWidth(0), 145);
  EXPECT_EQ(list.columnWidth(2), 60);
}

TEST_F(HideColumnFixture, AHiddenColumnStaysAtWidthZeroWhenItsDividerIsDragged) {
  list.hideColumn(1);
  auto* header = list.header();
  const int y = header->height() / 2;
  // The hidden columns' divider is at the left edge; drag it and the first visible one's edge.
  dragOnHeader(header, QPoint(0, y), QPoint(150, y));
  dragOnHeader(header, QPoint(1, y), QPoint(150, y));
  EXPECT_EQ(list.columnWidth(1), 0);
  EXPECT_EQ(list.columnWidth(3), 0);
  EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Fixed);
}

TEST_F(HideColumnFixture, AVisibleColumnCannotGoInFrontOfTheHiddenOnes) {
  list.hideColumn(1);
  ASSERT_EQ(visualOrder(), (QList<int>{1, 3, 0, 2, 4}));
  list.header()->moveSection(list.header()->visualIndex(4), 0);
  EXPECT_EQ(visualOrder(), (QList<int>{1, 3, 0, 2, 4}));
  list.header()->moveSection(list.header()->visualIndex(4), 2);  // among the visible ones: fine
  EXPECT_EQ(visualOrder(), (QList<int>{1, 3, 4, 0, 2}));
}

TEST_F(HideColumnFixture, CtrlKeypadPlusSizesEveryColumnToItsContent) {
  list.setColumnWidth(0, 40);
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_GT(list.columnWidth(0), 40);
  // Hidden columns too: the debug column shows its content now, and stays hidden otherwise.
  EXPECT_GT(list.columnWidth(3), 0);
  EXPECT_TRUE(list.isColumnHidden(3));
  EXPECT_EQ(list.header()->sectionResizeMode(3), QHeaderView::Fixed);
  list.hideColumn(3);  // hides it again
  EXPECT_EQ(list.columnWidth(3), 0);
  // Plus without Ctrl, or not from the keypad, does nothing of the kind.
  list.setColumnWidth(0, 40);
  QTest::keyClick(&list, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(list.columnWidth(0), 40);
}

TEST_F(HideColumnFixture, SetColumnsStartsAfresh) {
  list.hideColumn(0);
  list.setColumns({{QStringLiteral("Name"), 160}, {QStringLiteral("Value"), 325}});
  EXPECT_EQ(list.columnCount(), 2);
  EXPECT_FALSE(list.isColumnHidden(0));
  EXPECT_FALSE(list.isColumnHidden(1));
  EXPECT_EQ(visualOrder(), (QList<int>{0, 1}));
  EXPECT_EQ(list.columnWidth(0), 160);
  EXPECT_EQ(list.header()->sectionResizeMode(0), QHeaderView::Interactive);
}

TEST_F(HideColumnFixture, WidthsAreTakenAsGiven) {
  list.setColumns({{QStringLiteral("No."), 0}, {QStringLiteral("Disk number"), 80}, {QStringLiteral("Name"), 180}});
  EXPECT_EQ(list.columnWidth(0), 0);
  EXPECT_FALSE(list.isColumnHidden(0));
  list.setColumnWidth(1, 3);
  EXPECT_EQ(list.columnWidth(1), 3);
}

TEST_F(HideColumnFixture, ReportListLook) {
  EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_TRUE(list.header()->sectionsMovable());
  EXPECT_FALSE(list.rootIsDecorated());
}

TEST_F(HideColumnFixture, OutOfRangeColumnsAreIgnored) {
  list.hideColumn(9);
  list.showColumn(-1);
  EXPECT_FALSE(list.isColumnHidden(9));
  EXPECT_EQ(visualOrder(), (QList<int>{3, 0, 1, 2, 4}));
}

// ---- CColorStatic -------------------------------------------------------------

TEST(ColorStatic, StartsWithButtonFaceAndBlack) {
  CColorStatic label(QStringLiteral("Count"));
  EXPECT_EQ(label.backgroundColour(), QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(label.textColour(), QColor(Qt::black));
  EXPECT_TRUE(label.autoFillBackground());
}

TEST(ColorStatic, DrawsItsColours) {
  CColorStatic label(QStringLiteral("MMMMMMMM"));
  label.resize(200, 40);
  QFont big = label.font();
  big.setPixelSize(30);
  label.setFont(big);
  label.setBackgroundColour(QColor(0xFF, 0xFF, 0xE8));
  label.setTextColour(QColor(0, 0, 255));
  QImage image = label.grab().toImage();
  EXPECT_EQ(image.pixelColor(1, 1), QColor(0xFF, 0xFF, 0xE8));
  bool textDrawn = false;
  for (int y = 0; y < image.height() && !textDrawn; ++y)
    for (int x = 0; x < image.width() && !textDrawn; ++x)
      textDrawn = image.pixelColor(x, y) == QColor(0, 0, 255);
  EXPECT_TRUE(textDrawn);

  label.setEnabled(false);  // disabled windows show the colours too
  image = label.grab().toImage();
  EXPECT_EQ(image.pixelColor(1, 1), QColor(0xFF, 0xFF, 0xE8));
  label.setBackgroundColour(Qt::red);
  EXPECT_EQ(label.grab().toImage().pixelColor(1, 1), QColor(Qt::red));
}

}  // namespace
}  // namespace dravel::controls
