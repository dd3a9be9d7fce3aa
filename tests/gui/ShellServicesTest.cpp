#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include "app/CModeless1.h"
#include "app/CPlease_Wail_Modeless.h"
#include "app/FontSet.h"
#include "app/ProgressService.h"
#include "app/WaitWindow.h"

namespace dravel::app {
namespace {

// ---- progress services on real bars ----

TEST(ProgressService, LoadingWindowBarStepsByTwoAndStartsOver) {
  CModeless1 loading;
  QProgressBar* bar = loading.progressBar();
  ProgressService::start(bar, 0, 100, 2);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->value(), 0);
  for (std::uint64_t tick = 1; tick <= 50; ++tick) ProgressService::step(bar, 0, 100, tick);
  EXPECT_EQ(bar->value(), 100);
  ProgressService::step(bar, 0, 100, 51);
  EXPECT_EQ(bar->value(), 0);
}

TEST(ProgressService, EachBarKeepsItsOwnPercentage) {
  const std::uint64_t sectors = 15633408000ull;  // a span shown as a percentage
  QProgressBar scan;
  QProgressBar other;
  ProgressService::start(&scan, 0, sectors, 1);
  ProgressService::start(&other, 0, sectors, 1);
  ProgressService::step(&scan, 0, sectors, sectors / 2);
  ProgressService::step(&other, 0, sectors, sectors / 5);
  ProgressService::step(&scan, 0, sectors, sectors / 4);  // never backwards
  EXPECT_EQ(scan.maximum(), 100);
  EXPECT_EQ(scan.value(), 50);
  EXPECT_EQ(other.value(), 20);

  ProgressService::start(&scan, 0, sectors, 1);  // a new start forgets the 50
  EXPECT_EQ(scan.value(), 0);
  ProgressService::step(&scan, 0, sectors, sectors / 4);
  EXPECT_EQ(scan.value(), 25);
}

TEST(ProgressService, RestartingWithAnotherSpanResizesTheBar) {
  QProgressBar bar;
  ProgressService::start(&bar, 0, 1ull << 40, 1);
  ProgressService::step(&bar, 0, 1ull << 40, 1ull << 39);
  ProgressService::start(&bar, 100, 400, 30);
  EXPECT_EQ(bar.maximum(), 300);
  EXPECT_EQ(bar.value(), 0);
  ProgressService::step(&bar, 100, 400, 0);
  EXPECT_EQ(bar.value(), 30);
}

// ---- wait window ----

class WaitWindowTest : public ::testing::Test {
 protected:
  WaitWindowTest() {
    WaitWindow::setMainWindow(&m_main);
    m_main.show();
    m_owner.setGeometry(300, 200, 600, 400);
    m_owner.show();
  }
  ~WaitWindowTest() override {
    WaitWindow::hideWait(&m_owner);
    WaitWindow::setMainWindow(nullptr);
  }

  QWidget m_main;
  QWidget m_owner;
};

TEST_F(WaitWindowTest, ShowDisablesOwnerAndMainAndShowsItselfDisabled) {
  WaitWindow::showWait(&m_owner, true);
  auto* wait = WaitWindow::window();
  ASSERT_NE(wait, nullptr);
  EXPECT_FALSE(m_owner.isEnabled());
  EXPECT_FALSE(m_main.isEnabled());
  EXPECT_TRUE(wait->isVisible());
  EXPECT_FALSE(wait->isEnabled());
  EXPECT_EQ(wait->text(), QStringLiteral("It may take a while, Please wait..."));
  const QPoint offset = wait->frameGeometry().center() - m_owner.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 1);
}

TEST_F(WaitWindowTest, HideEnablesOnlyTheOwnerAndTheWindowIsReused) {
  WaitWindow::showWait(&m_owner, false);
  auto* first = WaitWindow::window();
  first->setText(QStringLiteral("stale"));
  WaitWindow::hideWait(&m_owner);
  EXPECT_TRUE(m_owner.isEnabled());
  EXPECT_FALSE(m_main.isEnabled());  // the main window stays off while a search window is open
  EXPECT_FALSE(first->isVisible());

  WaitWindow::showWait(&m_owner, false);
  EXPECT_EQ(WaitWindow::window(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->text(), QStringLiteral("It may take a while, Please wait..."));
}

TEST_F(WaitWindowTest, HideWithoutOwnerEnablesTheMainWindow) {
  WaitWindow::showWait(&m_main, true);
  WaitWindow::hideWait(nullptr);
  EXPECT_TRUE(m_main.isEnabled());
  EXPECT_FALSE(WaitWindow::window()->isVisible());
}

// ---- shared fonts ----

struct FontCase {
  int number;
  int pixelSize;
  int weight;
  bool underline;
  bool monospaced;
};

TEST(SharedFonts, TenFontsWithPixelHeightsWeightsAndUnderline) {
  const std::vector<FontCase> cases{{1, 13, 700, false, false}, {2, 13, 700, true, false}, {3, 13, 400, true, false},
                                    {4, 13, 500, false, false}, {5, 16, 700, false, true}, {6, 16, 700, false, false},
                                    {7, 14, 700, false, false}, {8, 22, 700, false, true}, {9, 16, 700, false, false},
                                    {10, 36, 500, false, false}};
  for (const auto& c : cases) {
    const QFont& font = sharedFont(c.number);
    EXPECT_EQ(font.pixelSize(), c.pixelSize) << c.number;
    EXPECT_EQ(font.weight(), c.weight) << c.number;
    EXPECT_EQ(font.underline(), c.underline) << c.number;
    EXPECT_EQ(font.styleHint() == QFont::Monospace, c.monospaced) << c.number;
    EXPECT_EQ(&sharedFont(c.number), &font) << "created once";
  }
  EXPECT_EQ(sharedFont(0), sharedFont(kSharedFontCount + 1));  // out of range: the default font
}

}  // namespace
}  // namespace dravel::app
