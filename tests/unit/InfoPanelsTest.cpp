#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "storage/InfoPanels.h"

namespace dravel::storage {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rowsOf(const std::vector<InfoRow>& panel) {
  Rows out;
  for (const auto& row : panel) out.emplace_back(row.label, row.value);
  return out;
}

// The scan start reads values back by row number and the labels keep their
// blanks, so each panel is compared whole.
TEST(InfoPanels, PhysicalDiskRowsInOrder) {
  PhysicalDriveRecord d;
  d.model = "SanDisk Cruzer Blade USB Device";
  d.mediaClass = "Removable Media";
  d.busName = "USB";
  d.sizeText = "7.45 GB";
  d.cylinders = 973;
  d.tracksPerCylinder = 255;
  d.totalSectors = 15631245;
  d.bytesPerSector = 512;
  d.sectorsPerTrack = 63;
  d.revision = "1.00";
  d.serial = "4C530001230101118412";
  d.computerName = "workstation";
  d.devicePathUpper = "\\\\.\\PHYSICALDRIVE1";
  const Rows expected = {
      {"1. Model :", "SanDisk Cruzer Blade USB Device"},
      {"2. MediaType :", "Removable Media"},
      {"3. Interface Type :", "USB"},
      {"4. Capacity(size) :", "7.45 GB"},
      {"5. Cylinders :", "973"},
      {"6. Heads :", "255"},
      {"7. Sectors :", "15631245"},
      {"8. Bytes per Sector :", "512"},
      {"9. Sector per Track :", "63"},
      {"10. Firmware Revision ID :", "1.00"},
      {"11. Serial Number :", "4C530001230101118412"},
      {"12. System Name :", "workstation"},
      {"13. Physical Device ID :", "\\\\.\\PHYSICALDRIVE1"},
  };
  EXPECT_EQ(rowsOf(physicalDiskPanel(d)), expected);
}

TEST(InfoPanels, LogicalDriveRowsInOrder) {
  LogicalDriveRecord v;
  v.totalSectors = 15630336;
  v.fileSystemName = "FAT32";
  v.letterColon = "E:";
  v.label = "KINGSTON";
  v.sizeText = "7.45 GB";
  v.freeText = "Unknown Size ";
  v.modeName = "Deep Search";
  v.serialHex = "1A2B3C4D";
  v.diskFirstSector = 2048;  // the panel counts from the volume's own first sector, not the disk's
  const Rows expected = {
      {"1. Start Sector :", "0"},
      {"2. End Sector : ", "15630336"},
      {"3. Partition Type : ", "FAT32"},
      {"4. Volume : ", "E:"},
      {"5. Label : ", "KINGSTON"},
      {"6. Size : ", "7.45 GB"},
      {"7. Free Space : ", "Unknown Size "},
      {"8. Search Mode : ", "Deep Search"},
      {"9. Serial Number : ", "1A2B3C4D"},
  };
  EXPECT_EQ(rowsOf(logicalDrivePanel(v)), expected);
}

TEST(InfoPanels, PartitionRowsInOrder) {
  const Rows expected = {
      {"1. Disk Number : ", "2"},
      {"2. Partition Number : ", "1"},
      {"3. Partition Type : ", "FAT32 (LBA)"},
      {"4. Search Mode : ", "Basic Search"},
      {"5. Start Sector : ", "2048"},
      {"6. End Sector : ", "2099200"},
      {"7. Size : ", "1.00 GB"},
  };
  EXPECT_EQ(rowsOf(partitionPanel("FAT32 (LBA)", 0, 2, "Basic Search", 2048, 2099200)), expected);
}

struct SizeCase {
  std::uint64_t first;
  std::uint64_t end;
  const char* size;
};

class PartitionPanelSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PartitionPanelSizeTest, SizeComesFromTheSectorRange) {
  const auto panel = partitionPanel("NTFS", 3, 0, "Basic Search", GetParam().first, GetParam().end);
  ASSERT_EQ(panel.size(), 7u);
  EXPECT_EQ(panel[1].value, "4");
  EXPECT_EQ(panel[6].value, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PartitionPanelSizeTest,
    ::testing::Values(SizeCase{100, 102, "1.00 KB"}, SizeCase{100, 101, "512 Byte"},
                      // An end at or before the start is an empty range, not a wrapped one.
                      SizeCase{100, 100, "0 Byte"}, SizeCase{100, 50, "0 Byte"},
                      // A range whose byte count would not fit in 64 bits is capped, not wrapped.
                      SizeCase{0, UINT64_MAX, "16.00 EB"}));

}  // namespace
}  // namespace dravel::storage
