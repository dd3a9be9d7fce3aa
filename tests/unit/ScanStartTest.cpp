#include <gtest/gtest.h>

#include "partitions/ScanStart.h"
#include "storage/InfoPanels.h"

namespace dravel::partitions {
namespace {

using storage::RecoveryMode;

storage::EnumerationState listingWithDisk(int number, std::uint64_t wholeCylinderSectors, std::uint64_t deviceSectors) {
  storage::PhysicalDriveRecord disk;
  disk.diskNumber = number;
  disk.model = "sample.img Device";
  disk.sizeText = "64.00 MB";
  disk.totalSectors = wholeCylinderSectors;
  disk.deviceSectors = deviceSectors;
  disk.sizeMiB = deviceSectors / 2048;
  storage::EnumerationState state;
  state.disks.push_back(disk);
  return state;
}

ScanStartInput partitionInput(const storage::EnumerationState& listing, const std::string& itemText,
                              std::uint64_t first, std::uint64_t end, RecoveryMode mode = RecoveryMode::Basic) {
  ScanStartInput input;
  input.driveKind = std::string(drive_kind::kPartition);
  input.panel = storage::partitionPanel(itemText, 0, 1, storage::recoveryModeName(mode), first, end);
  input.listing = &listing;
  input.mode = mode;
  input.requireSupportedFileSystem = mode == RecoveryMode::Basic;
  return input;
}

TEST(ScanStart, PartitionIsReadBackFromItsPanel) {
  const auto listing = listingWithDisk(1, 129024, 131072);
  const auto start = selectionAtScanStart(partitionInput(listing, "Partition - 1 ( FAT32 )", 2048, 131072));
  ASSERT_TRUE(start);
  const auto& r = start->record;
  EXPECT_EQ(r.devicePath, "\\\\.\\PhysicalDrive1");
  EXPECT_EQ(r.diskIndex, 1);
  EXPECT_EQ(r.fileSystemName, "FAT32");
  EXPECT_EQ(r.modeName, "Basic Search");
  EXPECT_EQ(r.firstSector, 2048u);
  // Bounded by the medium, not by its last whole cylinder.
  EXPECT_EQ(r.endSector, 131072u);
  EXPECT_EQ(r.firstSectorCopy, 2048u);
  EXPECT_EQ(r.endSectorCopy, 131072u);
  EXPECT_EQ(r.endByteOffset, 131072u * 512);
  EXPECT_EQ(r.diskTotalSectors, 129024u);
  EXPECT_EQ(r.currentDiskModel, "sample.img Device");
  EXPECT_TRUE(start->startNote.empty());
}

TEST(ScanStart, Refusals) {
  const auto listing = listingWithDisk(1, 129024, 131072);
  struct Case {
    const char* name;
    ScanStartInput input;
    ScanStartRefusal refusal;
  };
  auto otherDisk = partitionInput(listing, "Partition - 1 ( FAT32 )", 2048, 4096);
  otherDisk.panel[0].value = "3";
  const std::vector<Case> cases = {
      {"end 0", partitionInput(listing, "Partition - 1 ( FAT32 )", 0, 0), ScanStartRefusal::EndSectorNotAfterStart},
      {"end = first", partitionInput(listing, "Partition - 1 ( FAT32 )", 4096, 4096),
       ScanStartRefusal::EndSectorNotAfterStart},
      {"starts past the medium", partitionInput(listing, "Partition - 1 ( FAT32 )", 200000, 300000),
       ScanStartRefusal::EndSectorNotAfterStart},
      {"unknown in Basic", partitionInput(listing, "Partition - 3 ( Unknown )", 2048, 4096),
       ScanStartRefusal::UnsupportedFileSystem},
      {"disk gone", otherDisk, ScanStartRefusal::DeviceGone},
  };
  for (const auto& c : cases) {
    const auto start = selectionAtScanStart(c.input);
    ASSERT_FALSE(start) << c.name;
    EXPECT_EQ(start.error(), c.refusal) << c.name;
  }
}

TEST(ScanStart, UnknownFileSystemIsAcceptedOutsideBasicSearch) {
  const auto listing = listingWithDisk(1, 129024, 131072);
  const auto start =
      selectionAtScanStart(partitionInput(listing, "Partition - 3 ( Unknown )", 2048, 4096, RecoveryMode::Deep));
  ASSERT_TRUE(start);
  EXPECT_EQ(start->record.fileSystemName, "Unknown");
  EXPECT_EQ(start->record.modeName, "Deep Search");
}

TEST(ScanStart, WholeDiskFileSystem) {
  const auto listing = listingWithDisk(0, 129024, 131072);
  struct Case {
    std::vector<std::string> children;
    std::string treeName;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"Partition - 1 ( NTFS )"}, "", "NTFS"},
      {{"Partition - 1 ( FAT32 )", "Partition - 2 ( NTFS )"}, "", "FAT32"},  // guess by size: 64 MiB
      {{"Partition - 1 ( FAT32 )", "Partition - 2 ( NTFS )"}, "FAT16", "FAT16"},
      {{}, "", "FAT32"},
  };
  for (const auto& c : cases) {
    ScanStartInput input;
    input.driveKind = std::string(drive_kind::kHardDisk);
    input.panel = storage::physicalDiskPanel(listing.disks[0]);
    input.selectedDiskNumber = 0;
    input.diskPartitionItems = c.children;
    input.treeFileSystemName = c.treeName;
    input.listing = &listing;
    input.requireSupportedFileSystem = true;
    const auto start = selectionAtScanStart(input);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->record.fileSystemName, c.expected);
    EXPECT_EQ(start->record.firstSector, kWholeDiskFirstSector);
    EXPECT_EQ(start->record.endSector, 131072u);
    EXPECT_EQ(start->record.devicePath, "\\\\.\\PhysicalDrive0");
  }
}

TEST(ScanStart, VolumeIsScannedOverItsAreaOnTheDisk) {
  const auto listing = listingWithDisk(2, 129024, 131072);
  storage::LogicalDriveRecord volume;
  volume.letterColon = "E:";
  volume.fileSystemName = "FAT32";
  volume.totalSectors = 129024 - 2048;
  volume.diskNumber = 2;
  volume.diskFirstSector = 2048;
  volume.diskEndSector = 140000;  // claims more than the medium holds
  for (const bool dynamic : {false, true}) {
    volume.dynamicDisk = dynamic;
    ScanStartInput input;
    input.driveKind = std::string(drive_kind::kLogical);
    input.panel = storage::logicalDrivePanel(volume);
    input.volume = volume;
    input.listing = &listing;
    input.requireSupportedFileSystem = true;
    const auto start = selectionAtScanStart(input);
    ASSERT_TRUE(start);
    const auto& r = start->record;
    EXPECT_EQ(r.devicePath, "\\\\.\\PhysicalDrive2");
    EXPECT_EQ(r.logicalDevicePath, "\\\\.\\E:");
    EXPECT_EQ(r.firstSector, 2048u);
    EXPECT_EQ(r.endSector, 131072u);
    EXPECT_EQ(r.fileSystemName, "FAT32");
    EXPECT_EQ(start->startNote, dynamic ? "This is a Dynamic disk. \r\n\r\n" : "");
  }
}

}  // namespace
}  // namespace dravel::partitions
