// The tree control of the search windows: item colours and fonts,
// tri-state check boxes that propagate, item paths.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include "controls/CTreeClass.h"

namespace dravel::controls {
namespace {

// Root
//   A
//     A1
//     A2
//       A2a
//   B
struct TreeFixture : ::testing::Test {
  TreeFixture() {
    tree.resize(300, 300);
    root = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Root")});
    a = new QTreeWidgetItem(root, QStringList{QStringLiteral("A")});
    a1 = new QTreeWidgetItem(a, QStringList{QStringLiteral("A1")});
    a2 = new QTreeWidgetItem(a, QStringList{QStringLiteral("A2")});
    a2a = new QTreeWidgetItem(a2, QStringList{QStringLiteral("A2a")});
    b = new QTreeWidgetItem(root, QStringList{QStringLiteral("B")});
    tree.expandAll();
  }
  void showTree() {
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  }
  // The centre of an item's check box, in viewport coordinates.
  QPoint checkBoxCentre(QTreeWidgetItem* item) {
    const QModelIndex index = tree.indexFromItem(item);
    QStyleOptionViewItem option;
    option.initFrom(&tree);
    option.rect = tree.visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    option.index = index;
    return tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree).center();
  }

  CTreeClass tree;
  QTreeWidgetItem* root;
  QTreeWidgetItem* a;
  QTreeWidgetItem* a1;
  QTreeWidgetItem* a2;
  QTreeWidgetItem* a2a;
  QTreeWidgetItem* b;
};

TEST_F(TreeFixture, OneColumnNoHeader) {
  EXPECT_TRUE(tree.isHeaderHidden());
  EXPECT_EQ(tree.columnCount(), 1);
}

TEST_F(TreeFixture, CheckBoxesAppearUncheckedWhenEnabled) {
  EXPECT_FALSE(root->data(0, Qt::CheckStateRole).isValid());
  tree.setCheckBoxesEnabled(true);
  for (auto* item : {root, a, a1, a2, a2a, b}) {
    EXPECT_TRUE(item->data(0, Qt::CheckStateRole).isValid()) << item->text(0).toStdString();
    EXPECT_EQ(tree.checkState(item), Qt::Unchecked);
    EXPECT_FALSE(item->flags() & Qt::ItemIsAutoTristate);
  }
  auto* later = new QTreeWidgetItem(b, QStringList{QStringLiteral("B1")});
  EXPECT_EQ(later->data(0, Qt::CheckStateRole), QVariant(Qt::Unchecked));
  tree.setCheckBoxesEnabled(false);
  EXPECT_FALSE(a2a->data(0, Qt::CheckStateRole).isValid());
  EXPECT_FALSE(later->data(0, Qt::CheckStateRole).isValid());
}

TEST_F(TreeFixture, CheckingAFolderChecksItsSubtreeAndMarksItsParent) {
  tree.setCheckBoxesEnabled(true);
  tree.toggleCheck(a);
  for (auto* item : {a, a1, a2, a2a}) EXPECT_EQ(tree.checkState(item), Qt::Checked);
  EXPECT_EQ(tree.checkState(b), Qt::Unchecked);
  EXPECT_EQ(tree.checkState(root), Qt::PartiallyChecked);  // B is not checked
  tree.toggleCheck(b);
  EXPECT_EQ(tree.checkState(root), Qt::Checked);  // all its children are
}

TEST_F(TreeFixture, UncheckingTheLastCheckedChildUnchecksTheParent) {
  tree.setCheckBoxesEnabled(true);
  tree.toggleCheck(a);
  tree.toggleCheck(a1);  // uncheck one of two
  EXPECT_EQ(tree.checkState(a1), Qt::Unchecked);
  EXPECT_EQ(tree.checkState(a), Qt::PartiallyChecked);
  EXPECT_EQ(tree.checkState(root), Qt::PartiallyChecked);
  tree.toggleCheck(a2);  // the last checked child of A
  EXPECT_EQ(tree.checkState(a2a), Qt::Unchecked);
  EXPECT_EQ(tree.checkState(a), Qt::Unchecked);
  EXPECT_EQ(tree.checkState(root), Qt::Unchecked);
}

TEST_F(TreeFixture, APartlyCheckedItemBecomesChecked) {
  tree.setCheckBoxesEnabled(true);
  tree.toggleCheck(a2a);
  EXPECT_EQ(tree.checkState(a2), Qt::Checked);  // its only child
  EXPECT_EQ(tree.checkState(a), Qt::PartiallyChecked);
  tree.toggleCheck(a);
  for (auto* item : {a, a1, a2, a2a}) EXPECT_EQ(tree.checkState(item), Qt::Checked);
  EXPECT_EQ(tree.checkState(root), Qt::PartiallyChecked);
  tree.toggleCheck(root);
  for (auto* item : {root, a, a1, a2, a2a, b}) EXPECT_EQ(tree.checkState(item), Qt::Checked);
  tree.toggleCheck(root);
  for (auto* item : {root, a, a1, a2, a2a, b}) EXPECT_EQ(tree.checkState(item), Qt::Unchecked);
}

TEST_F(TreeFixture, SettersTouchOnlyWhatTheySay) {
  tree.setCheckBoxesEnabled(true);
  tree.setCheckState(a, Qt::Checked);
  EXPECT_EQ(tree.checkState(a1), Qt::Unchecked);
  EXPECT_EQ(tree.checkState(root), Qt::Unchecked);
  tree.setSubtreeCheckState(a2, Qt::PartiallyChecked);
  EXPECT_EQ(tree.checkState(a2a), Qt::PartiallyChecked);
  EXPECT_EQ(tree.checkState(a), Qt::Checked);
  tree.toggleCheck(nullptr);
  tree.setCheckState(nullptr, Qt::Checked);
  EXPECT_EQ(tree.checkState(nullptr), Qt::Unchecked);
}

TEST_F(TreeFixture, ClickOnACheckBoxSelectsTheItemAndPropagates) {
  tree.setCheckBoxesEnabled(true);
  showTree();
  QSignalSpy toggled(&tree, &CTreeClass::checkToggled);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, checkBoxCentre(a2));
  EXPECT_EQ(tree.currentItem(), a2);
  EXPECT_TRUE(a2->isSelected());
  EXPECT_EQ(tree.checkState(a2), Qt::Checked);  // toggled once, not back by the release
  EXPECT_EQ(tree.checkState(a2a), Qt::Checked);
  EXPECT_EQ(tree.checkState(a), Qt::PartiallyChecked);
  ASSERT_EQ(toggled.count(), 1);
  EXPECT_EQ(toggled.at(0).at(0).value<QTreeWidgetItem*>(), a2);

  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, checkBoxCentre(a1));
  EXPECT_EQ(tree.checkState(a), Qt::Checked);
  EXPECT_EQ(tree.checkState(root), Qt::PartiallyChecked);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, checkBoxCentre(a1));
  EXPECT_EQ(tree.checkState(a1), Qt::Unchecked);
  EXPECT_EQ(tree.checkState(a), Qt::PartiallyChecked);
}

TEST_F(TreeFixture, ClickOnTheTextOnlySelects) {
  tree.setCheckBoxesEnabled(true);
  showTree();
  const QRect rect = tree.visualItemRect(b);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(rect.right() - 5, rect.center().y()));
  EXPECT_EQ(tree.currentItem(), b);
  EXPECT_EQ(tree.checkState(b), Qt::Unchecked);
}

TEST_F(TreeFixture, SpaceTogglesTheCurrentItem) {
  tree.setCheckBoxesEnabled(true);
  showTree();
  tree.setCurrentItem(b);
  QTest::keyClick(&tree, Qt::Key_Space);
  EXPECT_EQ(tree.checkState(b), Qt::Checked);
  EXPECT_EQ(tree.checkState(root), Qt::PartiallyChecked);
}

TEST_F(TreeFixture, WithoutCheckBoxesAClickOnlySelects) {
  showTree();
  const QRect rect = tree.visualItemRect(a);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 3, rect.center().y()));
  EXPECT_EQ(tree.currentItem(), a);
  EXPECT_FALSE(a->data(0, Qt::CheckStateRole).isValid());
}

TEST_F(TreeFixture, OnlyDarkGreenIsDrawnInItsOwnColour) {
  tree.setItemColour(a, QColor(0x00, 0x80, 0x00));
  EXPECT_EQ(tree.itemColour(a), QColor(0x00, 0x80, 0x00));
  EXPECT_EQ(a->data(0, Qt::ForegroundRole).value<QColor>(), QColor(0x00, 0x80, 0x00));
  tree.setItemColour(b, QColor(Qt::red));  // kept, drawn in the default colour
  EXPECT_EQ(tree.itemColour(b), QColor(Qt::red));
  EXPECT_FALSE(b->data(0, Qt::ForegroundRole).isValid());
  tree.setItemColour(a, QColor(0, 0, 0));  // 0: the default again
  EXPECT_FALSE(tree.itemColour(a).isValid());
  EXPECT_FALSE(a->data(0, Qt::ForegroundRole).isValid());
  tree.setItemColour(b, QColor());
  EXPECT_FALSE(tree.itemColour(b).isValid());
  tree.setItemColour(nullptr, Qt::red);
  EXPECT_FALSE(tree.itemColour(nullptr).isValid());
}

TEST_F(TreeFixture, ItemFonts) {
  QFont bold = tree.font();
  bold.setBold(true);
  tree.setItemFont(a, bold);
  EXPECT_TRUE(a->font(0).bold());
  QFont faceless;
  faceless.setFamily(QString());
  tree.setItemFont(a, faceless);
  EXPECT_FALSE(a->data(0, Qt::FontRole).isValid());
}

TEST_F(TreeFixture, DarkGreenItemsAreDrawnDarkGreen) {
  showTree();
  QFont big = tree.font();
  big.setPixelSize(24);
  tree.setFont(big);
  b->setText(0, QStringLiteral("MMMMMMMM"));
  tree.setItemColour(b, QColor(0x00, 0x80, 0x00));
  const QImage image = tree.viewport()->grab().toImage();
  const QRect rect = tree.visualItemRect(b);
  bool green = false;
  for (int y = rect.top(); y <= rect.bottom() && !green; ++y)
    for (int x = rect.left(); x <= rect.right() && !green; ++x) green = image.pixelColor(x, y) == QColor(0, 0x80, 0);
  EXPECT_TRUE(green);
}

TEST_F(TreeFixture, ItemPathsStartBelowTheFirstTopLevelItem) {
  EXPECT_EQ(tree.itemPath(a2a), QStringLiteral("A\\A2\\A2a"));
  EXPECT_EQ(tree.itemPath(a), QStringLiteral("A"));
  EXPECT_EQ(tree.itemPath(root), QString());
  EXPECT_EQ(tree.itemPath(nullptr), QString());
  auto* other = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Other")});
  auto* x = new QTreeWidgetItem(other, QStringList{QStringLiteral("X")});
  EXPECT_EQ(tree.itemPath(x), QStringLiteral("Other\\X"));
}

TEST_F(TreeFixture, ChildCounts) {
  EXPECT_EQ(tree.childCount(root), 2);
  EXPECT_EQ(tree.childCount(a), 2);
  EXPECT_EQ(tree.childCount(a2a), 0);
  EXPECT_EQ(tree.childCount(nullptr), 0);
}

}  // namespace
}  // namespace dravel::controls
