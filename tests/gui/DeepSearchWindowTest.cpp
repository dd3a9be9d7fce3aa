// The Deep Search window: the file-system choice follows the selected
// partition, the range fields follow the selection, and Next checks them.

#include <QComboBox>
#include <QLineEdit>

#include "MessageRecorder.h"
#include "WindowHelpers.h"
#include "app/CDeepSearch.h"
#include "app/FrameTexts.h"
#include "controls/SectorRangeControl.h"

namespace dravel::testing {
namespace {

namespace texts = app::texts;

class DeepSearchWindow : public ::testing::Test {
 protected:
  void SetUp() override { fillAndWait(window); }
  void setField(const char* name, const QString& value) {
    auto* field = window.rangeControl()->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(field, nullptr) << name;
    field->setText(value);
  }
  QString field(const char* name) const {
    return window.rangeControl()->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  }
  test::ScopedCurrentDevices devices{fixtureDevices()};
  MessageRecorder messages;
  app::CDeepSearch window;
};

TEST_F(DeepSearchWindow, OpensWithFat32AndFollowsTheSelectedPartition) {
  EXPECT_EQ(window.fileSystemChoice()->currentText(), QStringLiteral("FAT32"));
  selectDriveItem(window, QStringLiteral("Partition - 3 ( NTFS )"));
  EXPECT_EQ(window.fileSystemChoice()->currentText(), QStringLiteral("NTFS"));
  EXPECT_EQ(field("startSector"), QStringLiteral("114688"));
  EXPECT_EQ(field("endSector"), QStringLiteral("147456"));
  EXPECT_EQ(field("minSector"), QStringLiteral("114688"));
  EXPECT_EQ(field("maxSector"), QStringLiteral("147456"));
}

TEST_F(DeepSearchWindow, NextChecksTheRangeAndTheFileSystem) {
  selectDriveItem(window, QStringLiteral("Partition - 2 ( FAT32 )"));
  setField("startSector", QStringLiteral("40000"));
  setField("endSector", QStringLiteral("40000"));
  button(window, "next")->click();
  setField("endSector", QString());
  button(window, "next")->click();
  EXPECT_EQ(messages.texts, QStringList(2, QString::fromUtf8(partitions::kEndSectorMessage.data())));

  messages.texts.clear();
  setField("endSector", QStringLiteral("50000"));
  window.fileSystemChoice()->setCurrentText(QStringLiteral("Unknown"));
  window.show();
  button(window, "next")->click();
  EXPECT_EQ(messages.texts, QStringList{texts::kSelectFileSystem});
  EXPECT_EQ(window.focusWidget(), window.fileSystemChoice());
  EXPECT_FALSE(window.lastDeepStart());
}

TEST_F(DeepSearchWindow, NextTakesTheRangeOfThePartition) {
  selectDriveItem(window, QStringLiteral("Partition - 2 ( FAT32 )"));  // the mixed disk's: 32768..114688
  setField("startSector", QStringLiteral("40000"));
  setField("endSector", QStringLiteral("50000"));
  window.fileSystemChoice()->setCurrentText(QStringLiteral("FAT32"));
  button(window, "next")->click();
  ASSERT_TRUE(window.lastDeepStart()) << messages.texts.join(QLatin1Char('|')).toStdString();
  const auto& run = *window.lastDeepStart();
  EXPECT_EQ(run.start.record.devicePath, "\\\\.\\PhysicalDrive1");
  EXPECT_EQ(run.start.record.firstSector, 40000u);
  EXPECT_EQ(run.start.record.endSector, 50000u);
  EXPECT_EQ(run.partitionBase, 32768u);
  EXPECT_EQ(run.driveSize, 114688u);
  EXPECT_EQ(run.start.record.modeName, "Deep Search");
}

TEST_F(DeepSearchWindow, AVolumesRangeIsMovedToItsPlaceOnTheDisk) {
  selectDriveItem(window, QStringLiteral("E:\\ (39.36 MB - P2FAT32 - FAT32)"));
  EXPECT_EQ(field("maxSector"), QStringLiteral("80608"));
  setField("startSector", QStringLiteral("100"));
  setField("endSector", QStringLiteral("80000"));
  button(window, "next")->click();
  ASSERT_TRUE(window.lastDeepStart());
  const auto& record = window.lastDeepStart()->start.record;
  EXPECT_EQ(record.devicePath, "\\\\.\\PhysicalDrive1");
  EXPECT_EQ(record.firstSector, 32768u + 100u);
  EXPECT_EQ(record.endSector, 114688u - 608u);
  EXPECT_EQ(window.lastDeepStart()->partitionBase, 32768u);
}

}  // namespace
}  // namespace dravel::testing
