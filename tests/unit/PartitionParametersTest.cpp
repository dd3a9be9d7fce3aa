#include <gtest/gtest.h>

#include "support/DiskBuilder.h"
#include "partitions/PartitionParameters.h"

namespace dravel::partitions {
namespace {

using test::DiskBuilder;
using test::FatLayout;
using test::NtfsLayout;

Expected<PartitionRecord, ParamError> calculate(DiskBuilder& d, const std::string& fs, std::uint64_t first,
                                                std::uint64_t end) {
  auto source = d.source();
  return calculatePartitionParameters(source, fs, {first, end});
}

TEST(PartitionParameters, Fat16FromTheBootSector) {
  DiskBuilder d(70000);
  d.fat16(63, FatLayout{4, 128, 4, 512, 65000});
  const auto r = calculate(d, "FAT16", 63, 63 + 65000);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->reserveSecStart, 4u);
  EXPECT_EQ(r->spf, 128u);
  EXPECT_EQ(r->spc, 4u);
  EXPECT_EQ(r->rootSec, 32u);
  EXPECT_EQ(r->firstFat, 67u);
  EXPECT_EQ(r->secondFat, 195u);
  EXPECT_EQ(r->rootStartSec, 323u);
  EXPECT_EQ(r->cluster0Start, 323u + 32 - 8);
}

TEST(PartitionParameters, Fat32FromTheBootSector) {
  DiskBuilder d(90000);
  d.fat32(2048, FatLayout{32, 600, 8, 0, 80000, 2});
  const auto r = calculate(d, "FAT32", 2048, 2048 + 80000);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->rootSec, 0u);
  EXPECT_EQ(r->rootStartSec, 2u);  // the root cluster
  EXPECT_EQ(r->firstFat, 2080u);
  EXPECT_EQ(r->secondFat, 2680u);
  EXPECT_EQ(r->cluster0Start, 3280u - 16);
}

TEST(PartitionParameters, Fat32UsesTheBackupWhenTheBootSectorIsGone) {
  DiskBuilder d(90000);
  d.fat32(2048, FatLayout{32, 600, 8, 0, 80000, 2});
  d.zeroSector(2048);
  const auto r = calculate(d, "FAT32", 2048, 2048 + 80000);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->secondFat, 2680u);
}

TEST(PartitionParameters, Fat32TakesTheBackupsValuesWhenThePrimaryPointsAtNoFat) {
  DiskBuilder d(90000);
  d.fat32(2048, FatLayout{32, 600, 8, 0, 80000, 2});
  d.put32(2048 * 512 + 0x24, 700);  // primary's FAT size is wrong; the backup is right
  const auto r = calculate(d, "FAT32", 2048, 2048 + 80000);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->spf, 600u);
}

TEST(PartitionParameters, RefusesDamagedFatBootSectors) {
  struct Case {
    const char* what;
    const char* fs;
    std::function<void(DiskBuilder&)> damage;
    bool noBootSector;
  };
  const Case cases[] = {
      {"no signature", "FAT16", [](DiskBuilder& d) { d.put8(63 * 512 + 511, 0); }, true},
      {"second FAT not 0xF8", "FAT16", [](DiskBuilder& d) { d.put8((63 + 4 + 128) * 512, 0xF0); }, false},
      {"zero sectors per cluster", "FAT16", [](DiskBuilder& d) { d.put8(63 * 512 + 0x0D, 0); }, false},
      {"sectors per cluster not a power of two", "FAT16", [](DiskBuilder& d) { d.put8(63 * 512 + 0x0D, 3); }, false},
      {"no reserved sectors", "FAT16", [](DiskBuilder& d) { d.put16(63 * 512 + 0x0E, 0); }, false},
      {"zero sectors per FAT", "FAT16", [](DiskBuilder& d) { d.put16(63 * 512 + 0x16, 0); }, false},
      {"FATs past the partition", "FAT16", [](DiskBuilder& d) { d.put16(63 * 512 + 0x16, 0xFFFF); }, false},
      {"no FAT32 boot sector nor backup", "FAT32",
       [](DiskBuilder& d) {
         d.zeroSector(63);
         d.zeroSector(69);
       },
       true},
      {"FAT32 size absurd in both copies", "FAT32",
       [](DiskBuilder& d) {
         d.put32(63 * 512 + 0x24, 0xFFFFFFF0u);
         d.put32(69 * 512 + 0x24, 0xFFFFFFF0u);
       },
       false},
      {"FAT32 root cluster 0 in both copies", "FAT32",
       [](DiskBuilder& d) {
         d.put32(63 * 512 + 0x2C, 0);
         d.put32(69 * 512 + 0x2C, 0);
       },
       false},
  };
  for (const auto& c : cases) {
    DiskBuilder d(70000);
    if (std::string(c.fs) == "FAT16") {
      d.fat16(63, FatLayout{4, 128, 4, 512, 65000});
    } else {
      d.fat32(63, FatLayout{32, 500, 1, 0, 65000});
    }
    c.damage(d);
    const auto r = calculate(d, c.fs, 63, 63 + 65000);
    ASSERT_FALSE(r) << c.what;
    EXPECT_EQ(r.error().noBootSector, c.noBootSector) << c.what;
    EXPECT_FALSE(r.error().reason.empty()) << c.what;
  }
}

TEST(PartitionParameters, NtfsFromTheBootSector) {
  DiskBuilder d(50000);
  d.ntfs(2048, NtfsLayout{8, 40000, 4, 2000, -10, 1});
  const auto r = calculate(d, "NTFS", 2048, 2048 + 40001);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->spc, 8u);
  EXPECT_EQ(r->cluster0Start, 2048u);
  EXPECT_EQ(r->mftStart, 2048u + 32);
  EXPECT_EQ(r->mftMirrorStart, 2048u + 16000);
  EXPECT_EQ(r->sectorsPerFileRecord, 2u);
  EXPECT_EQ(r->sectorsPerIndexBlock, 8u);
}

// The backup boot sector is the partition's last sector: with the first one
// damaged the volume is still recognised.
TEST(PartitionParameters, NtfsUsesTheBackupAtThePartitionsLastSector) {
  DiskBuilder d(50000);
  d.ntfs(2048, NtfsLayout{8, 40000, 4, 2000});
  d.zeroSector(2048);
  const auto r = calculate(d, "NTFS", 2048, 2048 + 40001);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->mftStart, 2048u + 32);
}

TEST(PartitionParameters, NtfsWithOnlyTheMirrorLeft) {
  DiskBuilder d(50000);
  d.ntfs(2048, NtfsLayout{8, 40000, 4, 2000});
  d.zeroSector(2048 + 32);
  const auto r = calculate(d, "NTFS", 2048, 2048 + 40001);
  ASSERT_TRUE(r) << r.error().reason;
  EXPECT_EQ(r->mftStart, 0u);
  EXPECT_EQ(r->mftMirrorStart, 2048u + 16000);
}

TEST(PartitionParameters, RefusesDamagedNtfs) {
  struct Case {
    const char* what;
    std::function<void(DiskBuilder&)> damage;
    bool noBootSector;
  };
  const Case cases[] = {
      {"both boot sectors gone",
       [](DiskBuilder& d) {
         d.zeroSector(2048);
         d.zeroSector(2048 + 40000);
       },
       true},
      {"neither MFT nor mirror",
       [](DiskBuilder& d) {
         d.zeroSector(2048 + 32);
         d.zeroSector(2048 + 16000);
       },
       false},
      {"zero sectors per cluster", [](DiskBuilder& d) { d.put8(2048 * 512 + 0x0D, 0); }, false},
      {"MFT cluster far past the partition",
       [](DiskBuilder& d) {
         d.put64(2048 * 512 + 0x30, 0x0FFFFFFFFFFFFFFFull);
         d.put64(2048 * 512 + 0x38, 0xFFFFFFFFFFFFFFFFull);
       },
       false},
  };
  for (const auto& c : cases) {
    DiskBuilder d(50000);
    d.ntfs(2048, NtfsLayout{8, 40000, 4, 2000});
    c.damage(d);
    const auto r = calculate(d, "NTFS", 2048, 2048 + 40001);
    ASSERT_FALSE(r) << c.what;
    EXPECT_EQ(r.error().noBootSector, c.noBootSector) << c.what;
  }
}

TEST(PartitionParameters, RefusesOtherFileSystemsAndEmptyRanges) {
  DiskBuilder d(100);
  EXPECT_FALSE(calculate(d, "Unknown", 0, 100));
  EXPECT_FALSE(calculate(d, "FAT12", 0, 100));
  EXPECT_FALSE(calculate(d, "FAT16", 50, 50));
  EXPECT_FALSE(calculate(d, "NTFS", 60, 50));
}

}  // namespace
}  // namespace dravel::partitions
