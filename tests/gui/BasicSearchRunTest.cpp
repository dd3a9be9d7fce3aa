// The Basic Search run in its window: Next, the scan on its worker with its
// progress texts, Stop, the result tree, the listings behind the populating
// window and the nothing-found advice. A fake engine with gates makes the
// timing the test's; the last tests run the real engines on the images.

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "FakeBasicSearch.h"
#include "MessageRecorder.h"
#include "WindowHelpers.h"
#include "app/CBasicSearch.h"
#include "app/CPopulate.h"
#include "app/FrameTexts.h"
#include "app/ResultBrowser.h"
#include "app/ResultTreeView.h"
#include "app/ScanProgressPanel.h"
#include "basic/ScanControl.h"

namespace dravel::testing {
namespace {

using app::Phase;
namespace texts = app::texts;

bool waitFor(const std::function<bool()>& condition, int ms = 20000) { return QTest::qWaitFor(condition, ms); }

QStringList column(const controls::CHideColumn& list, int c) {
  QStringList cells;
  for (int i = 0; i < list.rowCount(); ++i) cells << list.cellText(i, c);
  return cells;
}

QTreeWidgetItem* resultItem(const app::CBasicSearch& window, const QString& text) {
  const auto found = window.resultTree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

// Answers every Basic Search advice that opens, and counts them.
class AdviceCounter {
 public:
  AdviceCounter() {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || QString::fromLatin1(dialog->metaObject()->className()) != "dravel::app::CMsgStand") return;
      ++count;
      dialog->accept();
    });
    m_timer.start();
  }
  int count = 0;

 private:
  QTimer m_timer;
};

// Docs (2) with Letters (4), Pics (3); files in Root, Docs and Pics.
FakeScript sampleScript() {
  FakeScript script;
  script.folders = {{"Docs", 2, 0}, {"Pics", 3, 0}, {"DIR3", 4, 2}};
  script.directoryNames = {{4, "Letters"}};
  script.files = {{0, "README.TXT", 640},  {0, "_LDLOG.TXT", 2900, true}, {2, "a.txt", 10},
                  {2, "b.csv", 20},        {3, "p1.png", 1},             {3, "p2.png", 2},
                  {3, "p3.png", 3},        {3, "p4.png", 4},             {3, "p5.png", 5}};
  return script;
}

class BasicSearchRun : public ::testing::Test {
 protected:
  void SetUp() override { fillAndWait(window); }

  // Next on the sample's FAT32 partition.
  void next() {
    selectDriveItem(window, QStringLiteral("Partition - 1 ( FAT32 )"));
    button(window, "next")->click();
  }
  // Waits until `count` listings have finished since the window was made.
  void waitForListings(int count) {
    ASSERT_TRUE(waitFor([&] { return finished.count() >= count; })) << "listing " << count << " did not finish";
  }
  void runToResult() {
    next();
    waitForListings(1);
  }
  void select(const QString& text) {
    auto* item = resultItem(window, text);
    ASSERT_NE(item, nullptr) << text.toStdString();
    window.resultTree()->setCurrentItem(item);
  }
  [[nodiscard]] QStringList names() const { return column(*window.infoList(), 0); }

  test::ScopedCurrentDevices devices{fixtureDevices()};
  ScopedFakeEngine engine{sampleScript()};
  MessageRecorder messages;
  AdviceCounter advice;
  app::CBasicSearch window;
  QSignalSpy finished{&window.resultBrowser(), &app::ResultBrowser::listingFinished};
};

TEST_F(BasicSearchRun, ScanningShowsItsTextsAndTheFoldersAsTheyAreFound) {
  engine.script().scanGateAfter = 1;
  next();
  ASSERT_EQ(window.phase(), Phase::Scanning);
  ASSERT_TRUE(window.lastScanStart());
  const auto& range = window.lastScanStart()->record;
  EXPECT_EQ(window.hintText(), texts::kHintScanning);
  EXPECT_EQ(window.scanProgress().modeText()->text(), QStringLiteral("Basic Search"));
  EXPECT_EQ(window.scanProgress().rangeText()->text(),
            QStringLiteral("Search Range : %1 to %2").arg(range.firstSector).arg(range.endSector));
  EXPECT_TRUE(window.activity().scanRunning);
  EXPECT_EQ(window.activity().resultCount, 1);

  // Held after its first folder: the folder is in the tree already.
  ASSERT_TRUE(waitFor([&] { return engine.scanGate->reached() && resultItem(window, QStringLiteral("Docs")); }));
  EXPECT_EQ(renderTree(*window.resultTree()), QStringLiteral("Root\n  Docs\n"));
  EXPECT_FALSE(window.resultTree()->isEnabled());  // no ticks on a tree that is drawn again at the end
  EXPECT_EQ(window.progressText()->text(), QStringLiteral("sectors scanned of total %1").arg(range.endSector));
  EXPECT_EQ(window.scanProgress().currentSector()->text(), QString::number(range.firstSector + 100));
  EXPECT_EQ(finished.count(), 0);

  engine.scanGate->release();
  waitForListings(1);
  EXPECT_EQ(window.phase(), Phase::Results);
  EXPECT_EQ(window.hintText(), texts::kHintResults);
  EXPECT_FALSE(window.progressArea()->isVisibleTo(&window));
  EXPECT_FALSE(window.activity().scanRunning);
  EXPECT_FALSE(window.activity().listingRunning);
  EXPECT_TRUE(window.isEnabled());
  EXPECT_TRUE(window.resultTree()->isEnabled());
  EXPECT_EQ(renderTree(*window.resultTree()), QStringLiteral("Root\n  Docs\n    DIR3\n  Pics\n  ORV_Miscellaneous\n"));
  EXPECT_FALSE(window.nothingFound());
  EXPECT_EQ(advice.count, 0);
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(BasicSearchRun, TheResultTreeHasImagesCheckBoxesAndNodeIds) {
  runToResult();
  auto* tree = window.resultTree();
  auto* root = tree->topLevelItem(0);
  EXPECT_EQ(tree->itemImage(root), 0);
  EXPECT_EQ(tree->currentItem(), root);
  for (const auto& name : {QStringLiteral("Docs"), QStringLiteral("DIR3"), QStringLiteral("ORV_Miscellaneous")}) {
    auto* item = resultItem(window, name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(tree->itemImage(item), 1) << name.toStdString();
    EXPECT_EQ(window.resultView().itemOf(app::ResultTreeView::nodeOf(item)), item);
  }
  for (auto* item : tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
    ASSERT_TRUE(item->data(0, Qt::CheckStateRole).isValid()) << item->text(0).toStdString();
    EXPECT_EQ(tree->checkState(item), Qt::Unchecked);
  }
  // Checking a folder checks its subfolders and makes Root partly checked;
  // unchecking the only checked one unchecks its ancestors again.
  auto* docs = resultItem(window, QStringLiteral("Docs"));
  auto* dir3 = resultItem(window, QStringLiteral("DIR3"));
  tree->toggleCheck(docs);
  EXPECT_EQ(tree->checkState(dir3), Qt::Checked);
  EXPECT_EQ(tree->checkState(root), Qt::PartiallyChecked);
  EXPECT_EQ(tree->checkState(resultItem(window, QStringLiteral("Pics"))), Qt::Unchecked);
  tree->toggleCheck(dir3);
  EXPECT_EQ(tree->checkState(docs), Qt::Unchecked);
  EXPECT_EQ(tree->checkState(root), Qt::Unchecked);
}

TEST_F(BasicSearchRun, RootIsListedWhenTheResultIsShown) {
  runToResult();
  EXPECT_EQ(names(), (QStringList{QStringLiteral("Docs"), QStringLiteral("Pics"), QStringLiteral("ORV_Miscellaneous"),
                                  QStringLiteral("README.TXT"), QStringLiteral("_LDLOG.TXT")}));
  const auto* list = window.infoList();
  EXPECT_EQ(list->cellText(0, 1), QStringLiteral("FOLDER"));
  EXPECT_EQ(list->cellText(0, 2), QStringLiteral("0"));
  EXPECT_EQ(list->cellText(0, 3), QStringLiteral("07-MAR-2024"));
  EXPECT_EQ(list->cellText(0, 4), QStringLiteral("10:20:30"));
  EXPECT_EQ(list->cellText(0, 5), QStringLiteral("2"));  // SelfId
  EXPECT_EQ(list->cellText(0, 6), QStringLiteral("0"));  // ParentId
  EXPECT_EQ(list->cellText(4, 2), QStringLiteral("2900"));
  EXPECT_EQ(list->cellText(4, 8), QStringLiteral("_LDLOG.TXT"));
  for (int c = 5; c <= 8; ++c) EXPECT_TRUE(list->isColumnHidden(c)) << c;
  EXPECT_FALSE(list->topLevelItem(0)->icon(0).isNull());
  EXPECT_FALSE(list->topLevelItem(3)->icon(0).isNull());
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("3 Folders, 2 Files"));
  EXPECT_EQ(window.currentFolderPath()->text(), QString());
}

TEST_F(BasicSearchRun, SelectingAFolderListsItAndNamesItsChildren) {
  runToResult();
  select(QStringLiteral("Docs"));
  waitForListings(2);
  EXPECT_EQ(names(), (QStringList{QStringLiteral("Letters"), QStringLiteral("a.txt"), QStringLiteral("b.csv")}));
  EXPECT_EQ(column(*window.infoList(), 2), (QStringList{QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("20")}));
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("1 Folders, 2 Files"));
  EXPECT_EQ(window.currentFolderPath()->text(), QStringLiteral("Docs"));
  EXPECT_NE(resultItem(window, QStringLiteral("Letters")), nullptr);  // the tree item is renamed too

  select(QStringLiteral("Letters"));
  waitForListings(3);
  EXPECT_EQ(window.infoList()->rowCount(), 0);
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("0 Folders, 0 Files"));
  EXPECT_EQ(window.currentFolderPath()->text(), QStringLiteral("Docs\\Letters"));
}

TEST_F(BasicSearchRun, ExpandingAFolderNamesItsChildrenWithoutAListing) {
  runToResult();
  resultItem(window, QStringLiteral("Docs"))->setExpanded(true);
  EXPECT_NE(resultItem(window, QStringLiteral("Letters")), nullptr);
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(window.currentFolderPath()->text(), QString());
}

TEST_F(BasicSearchRun, CancelLeavesAPartialListAndEnablesTheWindow) {
  engine.script().listGateAfter = 2;
  runToResult();
  select(QStringLiteral("Pics"));
  ASSERT_TRUE(waitFor([&] { return engine.listGate->reached(); }));
  auto* populate = window.resultBrowser().populatingWindow();
  ASSERT_NE(populate, nullptr);
  EXPECT_TRUE(populate->isVisible());
  EXPECT_EQ(populate->findChild<QLabel*>(QStringLiteral("text"))->text(), texts::kPopulating);
  EXPECT_FALSE(window.isEnabled());
  EXPECT_TRUE(window.activity().listingRunning);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);

  clickChild(populate, "cancel");
  waitForListings(2);
  EXPECT_FALSE(finished.last().at(0).toBool());
  EXPECT_EQ(names(), (QStringList{QStringLiteral("p1.png"), QStringLiteral("p2.png")}));
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("0 Folders, 2 Files"));
  EXPECT_TRUE(window.isEnabled());
  EXPECT_TRUE(window.resultTree()->isEnabled());
  EXPECT_FALSE(populate->isVisible());
  EXPECT_FALSE(window.activity().listingRunning);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BasicSearchRun, AnotherFolderWhileAListingRunsChangesNothing) {
  engine.script().listGateAfter = 2;
  runToResult();
  select(QStringLiteral("Pics"));
  ASSERT_TRUE(waitFor([&] { return engine.listGate->reached(); }));
  select(QStringLiteral("Docs"));
  EXPECT_EQ(window.resultTree()->currentItem()->text(0), QStringLiteral("Pics"));
  engine.listGate->release();
  waitForListings(2);
  QCoreApplication::processEvents();
  EXPECT_EQ(finished.count(), 2);
  EXPECT_TRUE(finished.last().at(0).toBool());
  EXPECT_EQ(names().size(), 5);
  EXPECT_EQ(window.currentFolderPath()->text(), QStringLiteral("Pics"));
  EXPECT_EQ(window.resultTree()->currentItem()->text(0), QStringLiteral("Pics"));
}

TEST_F(BasicSearchRun, StopDuringTheScanShowsWhatWasFound) {
  engine.script().scanGateAfter = 2;
  QSignalSpy handled(&window, &app::SearchFrame::stopHandled);
  next();
  ASSERT_TRUE(waitFor([&] { return engine.scanGate->reached(); }));
  window.stop();
  window.stop();
  ASSERT_TRUE(waitFor([&] { return handled.count() >= 1; }));
  waitForListings(1);
  QCoreApplication::processEvents();
  EXPECT_EQ(handled.count(), 1);
  EXPECT_EQ(window.phase(), Phase::Results);
  EXPECT_EQ(renderTree(*window.resultTree()), QStringLiteral("Root\n  Docs\n  Pics\n  ORV_Miscellaneous\n"));
  EXPECT_FALSE(window.activity().scanRunning);
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("3 Folders, 2 Files"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BasicSearchRun, StopWaitsUntilTheScanHasEndedAndSaysSo) {
  engine.script().scanGateAfter = 1;
  engine.script().scanGateHonoursStop = false;  // a slow read that cannot look at the flag
  QSignalSpy handled(&window, &app::SearchFrame::stopHandled);
  next();
  ASSERT_TRUE(waitFor([&] { return engine.scanGate->reached(); }));
  window.stop();
  ASSERT_TRUE(waitFor([&] { return window.countLine()->text() == texts::kItMayTakeAWhile; }));
  EXPECT_TRUE(window.countLine()->isVisibleTo(&window));
  EXPECT_EQ(window.phase(), Phase::Scanning);
  EXPECT_EQ(handled.count(), 0);

  engine.scanGate->release();
  ASSERT_TRUE(waitFor([&] { return handled.count() >= 1; }));
  waitForListings(1);
  EXPECT_EQ(window.phase(), Phase::Results);
  EXPECT_EQ(renderTree(*window.resultTree()), QStringLiteral("Root\n  Docs\n  ORV_Miscellaneous\n"));
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("2 Folders, 2 Files"));
}

TEST_F(BasicSearchRun, NothingFoundShowsTheAdviceOnceAfterTheFirstListing) {
  engine.script() = FakeScript{};
  runToResult();
  EXPECT_TRUE(window.nothingFound());
  EXPECT_EQ(advice.count, 1);
  EXPECT_EQ(renderTree(*window.resultTree()), QStringLiteral("Root\n  ORV_Miscellaneous\n"));
  select(QStringLiteral("ORV_Miscellaneous"));
  waitForListings(2);
  select(QStringLiteral("Root"));
  waitForListings(3);
  EXPECT_EQ(advice.count, 1);
}

TEST_F(BasicSearchRun, AnEmptyTreeGivesTheAdviceWithoutAListing) {
  engine.script() = FakeScript{};
  engine.script().root = false;
  next();
  ASSERT_TRUE(waitFor([&] { return window.phase() == Phase::Results; }));
  EXPECT_EQ(window.resultTree()->topLevelItemCount(), 0);
  EXPECT_EQ(advice.count, 1);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(window.isEnabled());
}

TEST_F(BasicSearchRun, TheParameterSearchsFailureIsToldThenTheAdvice) {
  engine.script() = FakeScript{};
  engine.script().message = basic::kParamsNotFoundMessage;
  runToResult();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].caption, QStringLiteral("Message"));
  EXPECT_EQ(messages.requests[0].icon, controls::MessageIcon::Information);
  EXPECT_EQ(messages.requests[0].text, QString::fromUtf8(basic::kParamsNotFoundMessage));
  EXPECT_EQ(advice.count, 1);
}

TEST_F(BasicSearchRun, BackAfterTheResultAndASecondRun) {
  runToResult();
  QSignalSpy filled(&window, &app::SearchFrame::driveTreeFilled);
  window.back();
  ASSERT_TRUE(filled.wait(20000));
  EXPECT_EQ(window.resultTree()->topLevelItemCount(), 0);
  EXPECT_EQ(window.infoList()->columnCount(), 2);  // the drive information columns again
  runToResult();  // the first listing of the new result
  waitForListings(2);
  EXPECT_EQ(window.activity().resultCount, 1);
  EXPECT_EQ(window.countLine()->text(), QStringLiteral("3 Folders, 2 Files"));
}

// The progress area's texts for each stage a scan reports.
TEST(BasicSearchProgress, EachStageShowsItsTexts) {
  app::CBasicSearch window;
  auto& panel = window.scanProgress();
  auto* bar = window.progressBar();
  panel.begin(QStringLiteral("Basic Search"), 1000, 5000);
  EXPECT_EQ(window.progressText()->text(), QStringLiteral("Validating Partition ..."));
  EXPECT_EQ(panel.currentSector()->text(), QStringLiteral("1000"));
  EXPECT_EQ(bar->maximum(), 4000);

  panel.stage(basic::ScanStage::CalculatingParams);
  panel.total(777, 0, 777);
  panel.position(300, 300);
  EXPECT_EQ(panel.paramsCurrent()->text(), QStringLiteral("300"));
  EXPECT_EQ(panel.paramsTotal()->text(), QStringLiteral("/ 777"));
  EXPECT_FALSE(panel.paramsTotal()->parentWidget()->isHidden());
  EXPECT_TRUE(bar->isHidden());

  panel.stage(basic::ScanStage::Scanning);
  panel.total(5000, 1000, 5000);
  panel.position(3000, 3000);
  EXPECT_EQ(window.progressText()->text(), QStringLiteral("sectors scanned of total 5000"));
  EXPECT_EQ(panel.currentSector()->text(), QStringLiteral("3000"));
  EXPECT_EQ(bar->value(), 2000);
  EXPECT_FALSE(bar->isHidden());
  EXPECT_TRUE(panel.paramsTotal()->parentWidget()->isHidden());

  // A span beyond the bar's range is shown in percent.
  panel.total(1ULL << 40, 0, 1ULL << 40);
  panel.position(1ULL << 39, 1ULL << 39);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->value(), 50);

  const std::pair<basic::ScanStage, QString> stages[] = {
      {basic::ScanStage::SearchingLost, QStringLiteral("Searching Lost Directories. Please wait...")},
      {basic::ScanStage::Storing, QStringLiteral("Storing Directory Information. Please wait...")},
  };
  for (const auto& [stage, text] : stages) {
    panel.stage(stage);
    EXPECT_EQ(window.progressText()->text(), text);
  }
}

// Closing the window while its scan or a listing runs ends the worker
// through its stop flag and waits for it: no hang, no crash, no wait cursor left.
TEST(BasicSearchRunClosing, TheWindowWaitsForItsWorkers) {
  for (const bool duringListing : {false, true}) {
    SCOPED_TRACE(duringListing ? "listing" : "scan");
    test::ScopedCurrentDevices devices(fixtureDevices());
    MessageRecorder messages;
    ScopedFakeEngine engine(sampleScript());
    if (duringListing)
      engine.script().listGateAfter = 2;
    else
      engine.script().scanGateAfter = 1;
    auto window = std::make_unique<app::CBasicSearch>();
    fillAndWait(*window);
    QSignalSpy finished(&window->resultBrowser(), &app::ResultBrowser::listingFinished);
    selectDriveItem(*window, QStringLiteral("Partition - 1 ( FAT32 )"));
    button(*window, "next")->click();
    if (duringListing) {
      ASSERT_TRUE(waitFor([&] { return finished.count() >= 1; }));
      window->resultTree()->setCurrentItem(resultItem(*window, QStringLiteral("Pics")));
      ASSERT_TRUE(waitFor([&] { return engine.listGate->reached(); }));
    } else {
      ASSERT_TRUE(waitFor([&] { return engine.scanGate->reached(); }));
    }
    window.reset();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

// ---- the real engines on the project's images -----------------------------

bool engineBuilt(const char* fileSystem) {
  return basic::BasicSearch::create({"", fileSystem, 0, 1}, [] { return nullptr; }) != nullptr;
}

struct RealRunCase {
  const char* fileSystem;
  QString disk;
  QString partition;
  QStringList rootFolders;  // among Root's children
  QStringList rootFiles;    // any one of them among Root's rows
};

class BasicSearchRealRun : public ::testing::TestWithParam<RealRunCase> {};

TEST_P(BasicSearchRealRun, ShowsTheFoldersOfThePartition) {
  const auto& c = GetParam();
  if (!engineBuilt(c.fileSystem)) GTEST_SKIP() << "no Basic Search engine for " << c.fileSystem << " yet";
  test::ScopedCurrentDevices devices(fixtureDevices());
  MessageRecorder messages;
  AdviceCounter advice;
  app::CBasicSearch window;
  fillAndWait(window);
  QSignalSpy finished(&window.resultBrowser(), &app::ResultBrowser::listingFinished);
  QTreeWidgetItem* partition = nullptr;
  for (auto* disk : window.driveTree()->findItems(c.disk, Qt::MatchExactly | Qt::MatchRecursive))
    for (int i = 0; i < disk->childCount(); ++i)
      if (disk->child(i)->text(0) == c.partition) partition = disk->child(i);
  ASSERT_NE(partition, nullptr);
  window.driveTree()->setCurrentItem(partition);
  button(window, "next")->click();
  ASSERT_TRUE(waitFor([&] { return finished.count() >= 1; }, 120000));

  auto* root = window.resultTree()->topLevelItem(0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(0), QStringLiteral("Root"));
  QStringList children;
  for (int i = 0; i < root->childCount(); ++i) children << root->child(i)->text(0);
  for (const auto& folder : c.rootFolders) EXPECT_TRUE(children.contains(folder)) << folder.toStdString();
  const auto rows = column(*window.infoList(), 0);
  EXPECT_TRUE(std::any_of(c.rootFiles.begin(), c.rootFiles.end(), [&](const QString& f) { return rows.contains(f); }))
      << rows.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(advice.count, 0);
  EXPECT_TRUE(messages.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Images, BasicSearchRealRun,
    ::testing::Values(
        RealRunCase{"FAT32", QStringLiteral("Removable Media (Disk0 - 62.75 MB)"), QStringLiteral("Partition - 1 ( FAT32 )"),
                    {QStringLiteral("Documents"), QStringLiteral("Pictures"), QStringLiteral("Music")},
                    {QStringLiteral("OLDLOG.TXT"), QStringLiteral("_LDLOG.TXT")}},
        RealRunCase{"NTFS", QStringLiteral("Removable Media (Disk1 - 156.88 MB)"), QStringLiteral("Partition - 3 ( NTFS )"),
                    {QStringLiteral("Reports")},
                    {QStringLiteral("About P3NTFS.txt")}}),
    [](const auto& param) { return std::string(param.param.fileSystem); });

}  // namespace
}  // namespace dravel::testing
