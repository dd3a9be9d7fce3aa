// The Basic Search window on the project's images: the drive tree, the
// information panels, the guards of every command and the selection at Next.

#include <QComboBox>
#include <QLabel>
#include <filesystem>

#include "FakeBasicSearch.h"
#include "MessageRecorder.h"
#include "WindowHelpers.h"
#include "app/CBasicSearch.h"
#include "app/FrameTexts.h"
#include "controls/CTreeClass.h"
#include "support/TempDir.h"

namespace dravel::testing {
namespace {

using app::Phase;
namespace texts = app::texts;

class BasicSearchWindow : public ::testing::Test {
 protected:
  void SetUp() override { fillAndWait(window); }
  test::ScopedCurrentDevices devices{fixtureDevices()};
  ScopedFakeEngine engine;  // Next runs a made-up scan
  MessageRecorder messages;
  app::CBasicSearch window;
};

TEST_F(BasicSearchWindow, TreeListsEveryDiskPartitionAndVolumeOfTheImages) {
  const auto text = renderTree(*window.driveTree());
  EXPECT_TRUE(text.startsWith(QStringLiteral("My Computer\n  Physical Drives\n    Removable Media (Disk0 - 62.75 MB)\n"
                                             "      Partition - 1 ( FAT32 )\n")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("  Logical Drives\n    C:\\ (60.77 MB - SAMPLE - FAT32)\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("      Partition - 6 ( NTFS )\n")));
  EXPECT_EQ(window.driveTree()->currentItem()->text(0), QStringLiteral("My Computer"));
  EXPECT_EQ(window.hintText(), texts::kHintDriveSelection);
  EXPECT_FALSE(window.progressArea()->isVisibleTo(&window));
}

TEST_F(BasicSearchWindow, PanelsOfPartitionsVolumesAndDisks) {
  struct Case {
    QString item;
    std::vector<std::pair<QString, QString>> firstRows;  // checked in order from row 0
    int rowCount;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("Removable Media (Disk1 - 156.88 MB)"),
       {{QStringLiteral("1. Model :"), QStringLiteral("mbr-mixed.img Device")},
        {QStringLiteral("2. MediaType :"), QStringLiteral("Removable Media")}},
       13},
      {QStringLiteral("E:\\ (39.36 MB - P2FAT32 - FAT32)"),
       {{QStringLiteral("1. Start Sector :"), QStringLiteral("0")},
        {QStringLiteral("2. End Sector : "), QStringLiteral("80608")},
        {QStringLiteral("3. Partition Type : "), QStringLiteral("FAT32")},
        {QStringLiteral("4. Volume : "), QStringLiteral("E:")},
        {QStringLiteral("5. Label : "), QStringLiteral("P2FAT32")}},
       9},
  };
  for (const auto& c : cases) {
    selectDriveItem(window, c.item);
    const auto rows = infoRows(window);
    ASSERT_EQ(static_cast<int>(rows.size()), c.rowCount) << c.item.toStdString();
    for (std::size_t i = 0; i < c.firstRows.size(); ++i) EXPECT_EQ(rows[i], c.firstRows[i]) << c.item.toStdString();
  }
}

TEST_F(BasicSearchWindow, PartitionPanelOfEachPartitionOfTheMixedDisk) {
  // First and end sectors of mbr-mixed's partitions, logical ones included.
  const std::vector<std::tuple<QString, QString, QString, QString>> partitions = {
      {QStringLiteral("Partition - 1 ( FAT16 )"), QStringLiteral("63"), QStringLiteral("32768"), QStringLiteral("15.97 MB")},
      {QStringLiteral("Partition - 2 ( FAT32 )"), QStringLiteral("32768"), QStringLiteral("114688"), QStringLiteral("40.00 MB")},
      {QStringLiteral("Partition - 5 ( FAT32 )"), QStringLiteral("184320"), QStringLiteral("266240"), QStringLiteral("40.00 MB")},
  };
  auto* disk = window.driveTree()->findItems(QStringLiteral("Removable Media (Disk1 - 156.88 MB)"),
                                             Qt::MatchExactly | Qt::MatchRecursive).front();
  for (const auto& [text, first, end, size] : partitions) {
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < disk->childCount(); ++i)
      if (disk->child(i)->text(0) == text) item = disk->child(i);
    ASSERT_NE(item, nullptr) << text.toStdString();
    window.driveTree()->setCurrentItem(item);
    const auto rows = infoRows(window);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], std::make_pair(QStringLiteral("1. Disk Number : "), QStringLiteral("1")));
    EXPECT_EQ(rows[2].second, text);
    EXPECT_EQ(rows[3].second, QStringLiteral("Basic Search"));
    EXPECT_EQ(rows[4], std::make_pair(QStringLiteral("5. Start Sector : "), first));
    EXPECT_EQ(rows[5], std::make_pair(QStringLiteral("6. End Sector : "), end));
    EXPECT_EQ(rows[6], std::make_pair(QStringLiteral("7. Size : "), size));
  }
}

TEST_F(BasicSearchWindow, GroupNodesHideTheListOrListTheDisks) {
  selectDriveItem(window, QStringLiteral("Physical Drives"));
  ASSERT_EQ(window.infoList()->rowCount(), 3);
  EXPECT_EQ(window.infoList()->cellText(1, 0), QStringLiteral("2"));
  EXPECT_EQ(window.infoList()->cellText(1, 1), QStringLiteral("Disk1"));
  EXPECT_EQ(window.infoList()->cellText(1, 2), QStringLiteral("mbr-mixed.img Device"));
  for (const auto& node : {QStringLiteral("Logical Drives"), QStringLiteral("My Computer")}) {
    selectDriveItem(window, node);
    EXPECT_FALSE(window.infoList()->isVisibleTo(&window));
    EXPECT_EQ(window.heading()->text(), node);
  }
}

TEST_F(BasicSearchWindow, NextOnAGroupNodeAsksForADrive) {
  for (const auto& node : {QStringLiteral("My Computer"), QStringLiteral("Physical Drives"), QStringLiteral("Logical Drives")}) {
    selectDriveItem(window, node);
    button(window, "next")->click();
  }
  EXPECT_EQ(messages.texts, QStringList(3, texts::kSelectDriveFirst));
  EXPECT_EQ(window.phase(), Phase::DriveSelection);
  EXPECT_FALSE(window.lastScanStart());
}

TEST_F(BasicSearchWindow, NextTakesThePartitionsRange) {
  QSignalSpy requested(&window, &app::SearchFrame::scanRequested);
  selectDriveItem(window, QStringLiteral("C:\\ (60.77 MB - SAMPLE - FAT32)"));
  button(window, "next")->click();
  ASSERT_TRUE(window.lastScanStart());
  const auto& volume = window.lastScanStart()->record;
  EXPECT_EQ(volume.devicePath, "\\\\.\\PhysicalDrive0");  // scanned over its disk area, not as C:
  EXPECT_EQ(volume.firstSector, 2048u);
  EXPECT_EQ(volume.endSector, 2048u + 126472u);
  EXPECT_EQ(volume.fileSystemName, "FAT32");
  EXPECT_EQ(volume.modeName, "Basic Search");
  EXPECT_EQ(requested.count(), 1);
  EXPECT_TRUE(messages.texts.isEmpty());
  EXPECT_EQ(window.phase(), Phase::Scanning);
}

TEST_F(BasicSearchWindow, NextOnAnUnknownVolumeShowsTheBasicSearchAdvice) {
  selectDriveItem(window, QStringLiteral("J:\\ (Unknown Size  -  - Unknown)"));
  ModalAnswer advice([](QDialog* d) { clickChild(d, "ok"); });
  button(window, "next")->click();
  EXPECT_EQ(advice.seenClass(), QStringLiteral("dravel::app::CMsgStand"));
  EXPECT_FALSE(window.lastScanStart());
}

TEST_F(BasicSearchWindow, WholeDiskAsksFirst) {
  selectDriveItem(window, QStringLiteral("Removable Media (Disk0 - 62.75 MB)"));
  {
    ModalAnswer goBack([](QDialog* d) { clickChild(d, "goBack"); });
    button(window, "next")->click();
    EXPECT_EQ(goBack.seenClass(), QStringLiteral("dravel::app::CRem_Media_Scan"));
    EXPECT_FALSE(window.lastScanStart());
  }
  ModalAnswer entire([](QDialog* d) { clickChild(d, "searchEntireDrive"); });
  button(window, "next")->click();
  ASSERT_TRUE(window.lastScanStart());
  const auto& disk = window.lastScanStart()->record;
  EXPECT_EQ(disk.firstSector, 63u);
  EXPECT_EQ(disk.endSector, 128520u);  // every sector of the image, not only whole cylinders
  EXPECT_EQ(disk.fileSystemName, "FAT32");  // its only partition's
  EXPECT_EQ(disk.driveKind, "Hard Disk");
}

TEST(BasicSearchWindowDevices, ADiskThatVanishedAfterListingGivesAMessage) {
  test::TempDir dir;
  const auto copy = dir.path() / "vanishing.img";
  std::filesystem::copy_file(test::fixtureImage("sample"), copy);
  platform::DeviceOptions options;
  options.imagesOnly = true;
  options.images = {copy};
  test::ScopedCurrentDevices devices(options);
  MessageRecorder messages;
  app::CBasicSearch window;
  fillAndWait(window);
  selectDriveItem(window, QStringLiteral("Partition - 1 ( FAT32 )"));
  std::filesystem::remove(copy);
  button(window, "next")->click();
  EXPECT_EQ(messages.texts, QStringList{QStringLiteral("The selected storage device is no longer available.")});
  EXPECT_FALSE(window.lastScanStart());
}

TEST_F(BasicSearchWindow, GuardsWhileAScanRuns) {
  window.enterScanningPhase();
  window.activity().scanRunning = true;
  struct Case {
    const char* button;
    QString message;
  };
  const std::vector<Case> cases = {
      {"back", texts::kScanStillGoingBack},   {"refreshTree", texts::kRefreshInProgress},
      {"saveLog", texts::kSaveLogScanRunning}, {"loadLog", texts::kLoadLogScanRunning},
      {"save", texts::kSaveScanRunning},
  };
  for (const auto& c : cases) {
    messages.texts.clear();
    // The drive buttons are disabled while scanning; the commands still guard.
    QMetaObject::invokeMethod(&window, [&] {
      if (std::string(c.button) == "back") window.back();
      if (std::string(c.button) == "refreshTree") window.refreshTree();
      if (std::string(c.button) == "saveLog") window.saveLog();
      if (std::string(c.button) == "loadLog") window.loadLog();
      if (std::string(c.button) == "save") window.save();
    });
    EXPECT_EQ(messages.texts, QStringList{c.message}) << c.button;
  }
  EXPECT_EQ(window.phase(), Phase::Scanning);
}

TEST_F(BasicSearchWindow, GuardsBeforeAndAfterAResult) {
  button(window, "saveLog")->click();
  button(window, "save")->click();
  EXPECT_EQ(messages.texts, (QStringList{texts::kSaveLogNoResult, texts::kSaveNoResult}));
  messages.texts.clear();
  window.enterScanningPhase();
  window.enterResultsPhase();
  button(window, "loadLog")->click();
  window.refreshTree();
  EXPECT_EQ(messages.texts, (QStringList{texts::kLoadLogAfterResult, texts::kRefreshInProgress}));
}

TEST_F(BasicSearchWindow, StopIsHandledOnceAndEndsInTheResultPhase) {
  window.enterScanningPhase();
  window.activity().scanRunning = true;
  QSignalSpy handled(&window, &app::SearchFrame::stopHandled);
  window.stop();
  window.stop();
  ASSERT_TRUE(handled.wait(5000));
  QTest::qWait(50);
  EXPECT_EQ(handled.count(), 1);
  EXPECT_EQ(window.phase(), Phase::Results);
  EXPECT_FALSE(window.activity().scanRunning);
  EXPECT_EQ(window.hintText(), texts::kHintResults);
}

TEST_F(BasicSearchWindow, BackFromResultsReturnsToTheDriveSelection) {
  window.enterScanningPhase();
  window.enterResultsPhase();
  QSignalSpy filled(&window, &app::SearchFrame::driveTreeFilled);
  window.back();
  ASSERT_TRUE(filled.wait(20000));
  EXPECT_EQ(window.phase(), Phase::DriveSelection);
  EXPECT_EQ(window.activity().resultCount, 0);
  EXPECT_EQ(window.resultTree()->topLevelItemCount(), 0);
  EXPECT_EQ(window.hintText(), texts::kHintDriveSelection);
  QSignalSpy returned(&window, &app::SearchFrame::returnedToMainWindow);
  window.back();
  EXPECT_EQ(returned.count(), 1);
}

TEST_F(BasicSearchWindow, ClosingAfterAResultAsksAboutTheLogThenAboutExiting) {
  window.enterScanningPhase();
  window.enterResultsPhase();
  QSignalSpy exiting(&window, &app::SearchFrame::exitRequested);
  messages.answers = {controls::MessageAnswer::No, controls::MessageAnswer::No};
  window.close();
  ASSERT_EQ(messages.texts.size(), 2);
  EXPECT_EQ(messages.texts[0], texts::kSaveLogQuestion);
  EXPECT_EQ(messages.texts[1], QStringLiteral("Do you want to exit from Kestavine USB Drive Recovery?"));
  EXPECT_EQ(messages.requests[1].defaultAnswer, controls::MessageAnswer::No);
  EXPECT_EQ(exiting.count(), 0);
  EXPECT_EQ(window.phase(), Phase::Results);

  messages.answers = {controls::MessageAnswer::No, controls::MessageAnswer::Yes};
  window.close();
  EXPECT_EQ(exiting.count(), 1);
}

TEST_F(BasicSearchWindow, EscapeDoesNotCloseTheWindow) {
  window.show();
  QTest::keyClick(&window, Qt::Key_Escape);
  QTest::keyClick(&window, Qt::Key_Pause, Qt::ControlModifier);
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(BasicSearchWindowDevices, NoDeviceWindowOffersRetryAndExit) {
  platform::DeviceOptions none;
  none.imagesOnly = true;
  test::ScopedCurrentDevices devices(none);
  app::CBasicSearch window;
  QSignalSpy returned(&window, &app::SearchFrame::returnedToMainWindow);
  QSignalSpy filled(&window, &app::SearchFrame::driveTreeFilled);
  int retries = 0;
  ModalAnswer noDevice([&](QDialog* d) {
    clickChild(d, "retry");  // nothing was plugged in: the window stays
    ++retries;
    EXPECT_TRUE(d->isVisible());
    clickChild(d, "exit");
  });
  window.fillTree();
  ASSERT_TRUE(returned.wait(20000));
  EXPECT_EQ(noDevice.seenClass(), QStringLiteral("dravel::app::CNoDevice"));
  EXPECT_EQ(retries, 1);
  EXPECT_EQ(filled.count(), 0);
}

TEST(BasicSearchWindowDevices, ADeviceThatCannotBeUsedIsNamed) {
  platform::DeviceOptions options = fixtureDevices();
  options.images.push_back("/nonexistent/missing.img");
  test::ScopedCurrentDevices devices(options);
  app::CBasicSearch window;
  fillAndWait(window);
  EXPECT_TRUE(window.deviceProblems()->isVisibleTo(&window));
  EXPECT_TRUE(window.deviceProblems()->text().contains(QStringLiteral("/nonexistent/missing.img")))
      << window.deviceProblems()->text().toStdString();
}

TEST(BasicSearchWindowDevices, RetryAfterPluggingInADriveShowsIt) {
  test::TempDir dir;
  const auto late = dir.path() / "late.img";
  platform::DeviceOptions options;
  options.imagesOnly = true;
  options.images = {late};  // not there yet
  test::ScopedCurrentDevices devices(options);
  app::CBasicSearch window;
  QSignalSpy filled(&window, &app::SearchFrame::driveTreeFilled);
  ModalAnswer noDevice([&](QDialog* d) {
    std::filesystem::copy_file(test::fixtureImage("sample"), late);
    clickChild(d, "retry");
  });
  window.fillTree();
  ASSERT_TRUE(filled.wait(20000));
  EXPECT_EQ(noDevice.seenClass(), QStringLiteral("dravel::app::CNoDevice"));
  EXPECT_FALSE(window.deviceProblems()->isVisibleTo(&window));
  EXPECT_FALSE(window.driveTree()
                   ->findItems(QStringLiteral("C:\\ (60.77 MB - SAMPLE - FAT32)"), Qt::MatchExactly | Qt::MatchRecursive)
                   .isEmpty());
}

}  // namespace
}  // namespace dravel::testing
