#include <gtest/gtest.h>

#include "partitions/DrivePartitionTable.h"

namespace dravel::partitions {
namespace {

TEST(DrivePartitionRows, BoundsEachPartitionByTheDisk) {
  DiskTable table;
  table.record(2, "FAT32", 63, 50000);
  table.record(2, "NTFS", 50000, 130000);  // runs past the disk's whole cylinders
  table.record(3, "FAT16", 63, 1000);      // another disk
  const auto rows = drivePartitionRows(table, "Disk2", 2, 128520);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].drive, "Disk2");
  EXPECT_EQ(rows[0].part, 1);
  EXPECT_EQ(rows[0].endSector, 50000u);
  EXPECT_EQ(rows[1].part, 2);
  EXPECT_EQ(rows[1].startSector, 50000u);
  EXPECT_EQ(rows[1].endSector, 128520u);
  EXPECT_EQ(rows[1].cluster0, 50000u);
  EXPECT_EQ(rows[1].driveEndSector, 128520u);
  EXPECT_TRUE(drivePartitionRows(table, "Disk9", 9, 1000).empty());
  EXPECT_TRUE(drivePartitionRows(table, "Disk99", 99, 1000).empty());
}

}  // namespace
}  // namespace dravel::partitions
