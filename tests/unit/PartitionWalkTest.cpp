#include <gtest/gtest.h>

#include "support/DiskBuilder.h"
#include "partitions/PartitionWalk.h"
#include "storage/MemoryDriveTree.h"

namespace dravel::partitions {
namespace {

using test::DiskBuilder;
using test::FatLayout;
using test::NtfsLayout;

constexpr int kDisk = 1;

struct Walk {
  storage::MemoryDriveTree tree;
  DiskTable table;
  storage::TreeItem diskItem = storage::kNoItem;
  int recorded = 0;

  std::vector<std::string> items() const { return tree.childTexts(diskItem); }
  const DiskEntry& disk() const { return *table.disk(kDisk); }
  std::pair<std::uint64_t, std::uint64_t> range(int i) const {
    const auto& e = disk().entries[static_cast<std::size_t>(i)];
    return {e.firstSector, e.endSector};
  }
};

Walk walk(DiskBuilder& disk, std::uint64_t totalSectors = 0, const std::string& diskText = "Removable Media (Disk1 - 64 MB)") {
  Walk w;
  storage::PhysicalDriveRecord record;
  record.itemText = diskText;
  w.diskItem = w.tree.addDisk(record);
  auto source = disk.source();
  w.recorded = walkPartitions({source, kDisk, totalSectors != 0 ? totalSectors : disk.sectors(), &w.tree, w.diskItem},
                              w.table);
  return w;
}

TEST(PartitionWalk, SingleFat32PartitionAtSector63) {
  DiskBuilder d(200000);
  d.mbrEntry(0, 0, 0x0C, 63, 150000);
  d.fat32(63, FatLayout{32, 1000, 1, 0, 150000});
  const auto w = walk(d);
  ASSERT_EQ(w.recorded, 1);
  EXPECT_EQ(w.items(), std::vector<std::string>{"Partition - 1 ( FAT32 )"});
  EXPECT_EQ(w.range(0), std::make_pair(std::uint64_t{63}, std::uint64_t{63 + 150000}));
  EXPECT_EQ(w.disk().fileSystemNames[0], "FAT32");
  EXPECT_EQ(w.disk().firstPartitionItem, w.disk().entries[0].item);
  EXPECT_NE(w.disk().firstPartitionItem, storage::kNoItem);
}

// Without a boot mark the type byte decides; unknown types are left out.
TEST(PartitionWalk, TypeByteNamesUnformattedPartitions) {
  struct Case {
    std::uint8_t type;
    const char* name;  // nullptr: not recorded
  };
  const Case cases[] = {{0x04, "FAT16"}, {0x06, "FAT16"}, {0x0E, "FAT16"}, {0x0B, "FAT32"}, {0x0C, "FAT32"},
                        {0x07, "NTFS"},  {0x83, nullptr}, {0x01, nullptr}, {0x82, nullptr}};
  for (const auto& c : cases) {
    DiskBuilder d(30000);
    d.mbrEntry(0, 0, c.type, 2048, 20000);
    const auto w = walk(d);
    if (c.name == nullptr) {
      EXPECT_EQ(w.recorded, 0) << int(c.type);
    } else {
      ASSERT_EQ(w.recorded, 1) << int(c.type);
      EXPECT_EQ(w.disk().fileSystemNames[0], c.name) << int(c.type);
    }
  }
}

TEST(PartitionWalk, BootMarkWinsOverTypeByte) {
  DiskBuilder d(100000);
  d.mbrEntry(0, 0, 0x83, 2048, 60000);
  d.ntfs(2048, NtfsLayout{8, 59999});
  const auto w = walk(d);
  ASSERT_EQ(w.recorded, 1);
  EXPECT_EQ(w.items(), std::vector<std::string>{"Partition - 1 ( NTFS )"});
}

// Either half of the boot signature lets the walk go on.
TEST(PartitionWalk, AcceptsEitherSignatureByte) {
  for (int keep = 0; keep < 3; ++keep) {
    DiskBuilder d(30000);
    d.mbrEntry(0, 0, 0x06, 2048, 20000);
    if (keep != 0) d.put8(510, 0);
    if (keep != 1) d.put8(511, 0);
    const auto w = walk(d);
    EXPECT_EQ(w.recorded, keep == 2 ? 0 : 1) << keep;
  }
}

TEST(PartitionWalk, ExtendedChainListsLogicalPartitionsAfterPrimaries) {
  DiskBuilder d(300000);
  d.mbrEntry(0, 0, 0x06, 2048, 40000);
  d.mbrEntry(0, 1, 0x05, 50000, 200000);  // extended
  d.mbrEntry(0, 2, 0x07, 260000, 30000);  // a primary after the extended entry
  // First EBR at 50000: logical at +2048, link to the next EBR at +100000.
  d.mbrEntry(50000, 0, 0x06, 2048, 60000);
  d.mbrEntry(50000, 1, 0x05, 100000, 90000);
  // Second EBR at 150000: a type-1 logical counts as FAT16 there; the chain ends.
  d.mbrEntry(150000, 0, 0x01, 2048, 80000);
  const auto w = walk(d);
  ASSERT_EQ(w.recorded, 4);
  EXPECT_EQ(w.items(), (std::vector<std::string>{"Partition - 1 ( FAT16 )", "Partition - 2 ( NTFS )",
                                                 "Partition - 3 ( FAT16 )", "Partition - 4 ( FAT16 )"}));
  EXPECT_EQ(w.range(2), std::make_pair(std::uint64_t{52048}, std::uint64_t{52048 + 60000}));
  EXPECT_EQ(w.range(3), std::make_pair(std::uint64_t{152048}, std::uint64_t{152048 + 80000}));
}

TEST(PartitionWalk, ExtendedChainThatLoopsBackStops) {
  DiskBuilder d(300000);
  d.mbrEntry(0, 0, 0x0F, 10000, 200000);
  d.mbrEntry(10000, 0, 0x06, 100, 5000);
  d.mbrEntry(10000, 1, 0x0F, 20000, 50000);
  d.mbrEntry(30000, 0, 0x06, 100, 5000);
  d.mbrEntry(30000, 1, 0x0F, 0, 50000);  // back to the first EBR
  const auto w = walk(d);
  EXPECT_EQ(w.recorded, 2);
}

TEST(PartitionWalk, ExtendedChainLeavingTheDiskStops) {
  DiskBuilder d(100000);
  d.mbrEntry(0, 0, 0x05, 10000, 80000);
  d.mbrEntry(10000, 0, 0x06, 100, 5000);
  d.mbrEntry(10000, 1, 0x05, 0xF0000000u, 5000);  // next EBR far past the disk
  const auto w = walk(d);
  EXPECT_EQ(w.recorded, 1);
}

TEST(PartitionWalk, LogicalPartitionStartingPastTheDiskIsNotRecorded) {
  DiskBuilder d(100000);
  d.mbrEntry(0, 0, 0x05, 10000, 80000);
  d.mbrEntry(10000, 0, 0x06, 0xFFFFFF00u, 5000);
  const auto w = walk(d);
  EXPECT_EQ(w.recorded, 0);
}

// An entry that starts in the last 0x6000 sectors (or past the end) ends the
// whole walk: later primaries and the extended chain are not looked at.
TEST(PartitionWalk, EntryNearTheEndEndsTheWalk) {
  const std::uint64_t total = 200000;
  struct Case {
    std::uint32_t secondStart;
    int expected;
  };
  const Case cases[] = {{static_cast<std::uint32_t>(total - 0x6000), 3},
                        {static_cast<std::uint32_t>(total - 0x6000 + 1), 1},
                        {static_cast<std::uint32_t>(total), 1},
                        {0xFFFFFFFFu, 1}};
  for (const auto& c : cases) {
    DiskBuilder d(total);
    d.mbrEntry(0, 0, 0x06, 2048, 40000);
    d.mbrEntry(0, 1, 0x06, c.secondStart, 100);
    d.mbrEntry(0, 2, 0x05, 60000, 50000);
    d.mbrEntry(60000, 0, 0x06, 100, 1000);
    const auto w = walk(d);
    EXPECT_EQ(w.recorded, c.expected) << c.secondStart;
  }
}

TEST(PartitionWalk, GptListsFatAndNtfsAndSkipsReservedAndUnknown) {
  DiskBuilder d(300000);
  d.gptProtective();
  d.gptEntry(0, ondisk::gpt_type::microsoftReserved(), 2048, 34815);
  d.gptEntry(1, ondisk::gpt_type::basicData(), 34816, 116735);
  d.gptEntry(2, *ondisk::parseGuid("0FC63DAF-8483-4772-8E79-3D69D8477DE4"), 116736, 130000);  // Linux, unformatted
  d.gptEntry(3, ondisk::gpt_type::basicData(), 140000, 283359);
  d.gptEntry(4, ondisk::gpt_type::basicData(), 290000, 299000);  // basic data but no file system
  d.fat32(34816, FatLayout{32, 630, 1, 0, 81920});
  d.ntfs(140000, NtfsLayout{4, 143359});
  const auto w = walk(d);
  ASSERT_EQ(w.recorded, 2);
  EXPECT_EQ(w.items(), (std::vector<std::string>{"Partition - 1 ( FAT32 )", "Partition - 2 ( NTFS )"}));
  // End sectors are one past the last sector, like every other partition's.
  EXPECT_EQ(w.range(0), std::make_pair(std::uint64_t{34816}, std::uint64_t{116736}));
  EXPECT_EQ(w.range(1), std::make_pair(std::uint64_t{140000}, std::uint64_t{283360}));
}

TEST(PartitionWalk, GptEntryWithLastSectorZeroEndsTheWalk) {
  DiskBuilder d(200000);
  d.gptProtective();
  d.gptEntry(0, ondisk::gpt_type::basicData(), 2048, 60000);
  d.gptEntry(1, ondisk::gpt_type::basicData(), 0, 0);
  d.gptEntry(2, ondisk::gpt_type::basicData(), 70000, 130000);
  d.fat32(2048, FatLayout{32, 500, 1, 0, 57953});
  d.fat32(70000, FatLayout{32, 500, 1, 0, 60001});
  EXPECT_EQ(walk(d).recorded, 1);
}

TEST(PartitionWalk, GptWithGarbageEntriesRecordsNothingAndStaysInBounds) {
  DiskBuilder d(4096);
  d.gptProtective();
  for (std::uint64_t i = 2 * 512; i < 34 * 512; ++i) d.put8(i, static_cast<std::uint8_t>(i * 7 + 3));
  EXPECT_EQ(walk(d).recorded, 0);
}

TEST(PartitionWalk, StopsAtTwentySixPartitions) {
  DiskBuilder d(40000);
  d.mbrEntry(0, 0, 0x05, 1000, 35000);
  // A chain of 30 logical FAT16 partitions of 500 sectors each.
  for (std::uint32_t i = 0; i < 30; ++i) {
    const std::uint64_t ebr = 1000 + i * 1000ull;
    d.mbrEntry(ebr, 0, 0x06, 100, 500);
    if (i + 1 < 30) d.mbrEntry(ebr, 1, 0x05, (i + 1) * 1000u, 1000);
  }
  const auto w = walk(d);
  EXPECT_EQ(w.recorded, kNamedPartitions);
  EXPECT_EQ(w.disk().partitionCount, kNamedPartitions);
  EXPECT_EQ(w.items().size(), static_cast<std::size_t>(kNamedPartitions));
}

TEST(PartitionWalk, NoItemsUnderAParentThatIsAPartition) {
  DiskBuilder d(100000);
  d.mbrEntry(0, 0, 0x06, 2048, 50000);
  const auto w = walk(d, 0, "Partition - 1 ( FAT16 )");
  EXPECT_EQ(w.recorded, 1);
  EXPECT_TRUE(w.items().empty());
  EXPECT_EQ(w.disk().entries[0].item, storage::kNoItem);
}

TEST(PartitionWalk, UnreadableOrTinyDiskRecordsNothing) {
  storage::MemorySectorSource empty({});
  DiskTable table;
  EXPECT_EQ(walkPartitions({empty, kDisk, 1000, nullptr, storage::kNoItem}, table), 0);
  DiskBuilder d(100);
  d.mbrEntry(0, 0, 0x06, 1, 99);
  EXPECT_EQ(walk(d).recorded, 0);  // starts inside the last 0x6000 sectors
  // A disk number outside the table is refused, not written past it.
  auto source = d.source();
  EXPECT_EQ(walkPartitions({source, kDiskTableDisks, 100, nullptr, storage::kNoItem}, table), 0);
}

}  // namespace
}  // namespace dravel::partitions
