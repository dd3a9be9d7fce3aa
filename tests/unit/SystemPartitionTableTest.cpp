#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "support/DiskBuilder.h"
#include "ondisk/PartitionTableLayout.h"
#include "platform/SystemPartitionTable.h"

namespace dravel::platform {
namespace {

using ondisk::Guid;
namespace gpt_type = ondisk::gpt_type;
using test::DiskBuilder;
using Style = SystemPartitionTable::Style;

struct Expected {
  int number;
  std::uint64_t first;
  std::uint64_t count;
  std::uint8_t mbrType;
  bool container;
};

// Reads the builder's disk; `diskSectors` may claim more or fewer sectors than it holds.
SystemPartitionTable readTable(const DiskBuilder& disk, std::optional<std::uint64_t> diskSectors = std::nullopt) {
  auto source = disk.source();
  const SectorReadFn read = [&source](std::uint64_t lba, SectorBuffer& out) { return source.read(lba, 1, out); };
  return readSystemPartitionTable(read, diskSectors.value_or(disk.sectors()));
}

void expectPartitions(const SystemPartitionTable& table, const std::vector<Expected>& expected) {
  ASSERT_EQ(table.partitions.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& p = table.partitions[i];
    SCOPED_TRACE(testing::Message() << "partition " << i);
    EXPECT_EQ(p.number, expected[i].number);
    EXPECT_EQ(p.firstSector, expected[i].first);
    EXPECT_EQ(p.sectorCount, expected[i].count);
    EXPECT_EQ(p.mbrType, expected[i].mbrType);
    EXPECT_EQ(p.isContainer, expected[i].container);
    EXPECT_FALSE(p.gptType.has_value());
  }
}

TEST(SystemPartitionTable, PrimaryEntriesKeepTheirSlotNumbers) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, 0x0C, 10, 100);
  disk.mbrEntry(0, 2, 0x07, 200, 50);  // slot 1 empty: numbers are slots, not a count
  disk.mbrEntry(0, 3, 0x83, 300, 0);   // no sectors: skipped
  const auto table = readTable(disk);
  EXPECT_EQ(table.style, Style::Mbr);
  EXPECT_FALSE(table.dynamic);
  expectPartitions(table, {{1, 10, 100, 0x0C, false}, {3, 200, 50, 0x07, false}});
}

TEST(SystemPartitionTable, EntriesAreClampedToTheDisk) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, 0x0C, 300, 1000);  // runs past the end
  disk.mbrEntry(0, 1, 0x07, 400, 10);    // starts at the end
  disk.mbrEntry(0, 2, 0x07, 0xFFFFFFF0u, 0xFFFFFFF0u);
  expectPartitions(readTable(disk), {{1, 300, 100, 0x0C, false}});
}

TEST(SystemPartitionTable, ExtendedChainGivesLogicalNumbersFromFive) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, 0x0C, 10, 90);
  disk.mbrEntry(0, 1, ondisk::kTypeExtendedLba, 100, 200);
  // EBR entries: the volume relative to its own EBR, the link relative to the extended partition.
  disk.mbrEntry(100, 0, 0x07, 2, 40);
  disk.mbrEntry(100, 1, ondisk::kTypeExtendedChs, 50, 60);
  disk.mbrEntry(150, 0, 0x0B, 1, 30);
  const auto table = readTable(disk);
  EXPECT_EQ(table.style, Style::Mbr);
  expectPartitions(table, {{1, 10, 90, 0x0C, false},
                           {2, 100, 200, ondisk::kTypeExtendedLba, true},
                           {5, 102, 40, 0x07, false},
                           {6, 151, 30, 0x0B, false}});
}

TEST(SystemPartitionTable, ExtendedChainThatLoopsEndsAtTheRepeatedTable) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, ondisk::kTypeExtendedLba, 100, 200);
  disk.mbrEntry(100, 0, 0x07, 1, 10);
  disk.mbrEntry(100, 1, ondisk::kTypeExtendedLba, 20, 20);
  disk.mbrEntry(120, 0, 0x07, 1, 10);
  disk.mbrEntry(120, 1, ondisk::kTypeExtendedLba, 0, 20);  // back to the first EBR
  const auto table = readTable(disk);
  expectPartitions(table, {{1, 100, 200, ondisk::kTypeExtendedLba, true},
                           {5, 101, 10, 0x07, false},
                           {6, 121, 10, 0x07, false}});
}

TEST(SystemPartitionTable, ExtendedChainLeavingTheDiskKeepsWhatCameBefore) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, ondisk::kTypeExtendedLba, 100, 300);
  disk.mbrEntry(100, 0, 0x07, 1, 500);                     // clamped at the disk's end
  disk.mbrEntry(100, 1, ondisk::kTypeExtendedLba, 5000, 20);  // next table beyond the disk
  const auto table = readTable(disk);
  expectPartitions(table, {{1, 100, 300, ondisk::kTypeExtendedLba, true}, {5, 101, 299, 0x07, false}});
}

TEST(SystemPartitionTable, ExtendedChainStopsAtATableWithoutSignature) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, ondisk::kTypeExtendedLba, 100, 300);
  disk.mbrEntry(100, 0, 0x07, 1, 10);
  disk.mbrEntry(100, 1, ondisk::kTypeExtendedLba, 50, 20);
  disk.mbrEntry(150, 0, 0x07, 1, 10);
  disk.put8(150 * 512 + 511, 0);  // the second EBR's signature is damaged
  expectPartitions(readTable(disk), {{1, 100, 300, ondisk::kTypeExtendedLba, true}, {5, 101, 10, 0x07, false}});
}

TEST(SystemPartitionTable, GptListsEveryEntryAndFlagsLdm) {
  DiskBuilder disk(400);
  disk.gptProtective();
  disk.gptEntry(0, gpt_type::microsoftReserved(), 34, 99);
  disk.gptEntry(1, gpt_type::basicData(), 100, 199);
  disk.gptEntry(3, gpt_type::ldmMetadata(), 200, 209);  // entry 2 is unused
  disk.gptEntry(4, gpt_type::ldmData(), 210, 299);
  disk.gptEntry(5, gpt_type::basicData(), 300, 299);    // ends before it starts: skipped
  disk.gptEntry(6, gpt_type::basicData(), 350, 1000);   // clamped
  const auto table = readTable(disk);
  EXPECT_EQ(table.style, Style::Gpt);
  EXPECT_TRUE(table.dynamic);
  struct Row {
    int number;
    std::uint64_t first, count;
    Guid type;
    bool candidate;
  };
  const std::vector<Row> expected = {{1, 34, 66, gpt_type::microsoftReserved(), false},
                                     {2, 100, 100, gpt_type::basicData(), true},
                                     {4, 200, 10, gpt_type::ldmMetadata(), false},
                                     {5, 210, 90, gpt_type::ldmData(), false},
                                     {7, 350, 50, gpt_type::basicData(), true}};
  ASSERT_EQ(table.partitions.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& p = table.partitions[i];
    SCOPED_TRACE(testing::Message() << "partition " << i);
    EXPECT_EQ(p.number, expected[i].number);
    EXPECT_EQ(p.firstSector, expected[i].first);
    EXPECT_EQ(p.sectorCount, expected[i].count);
    ASSERT_TRUE(p.gptType.has_value());
    EXPECT_EQ(*p.gptType, expected[i].type);
    EXPECT_EQ(p.mbrType, 0);
    EXPECT_EQ(isVolumeCandidate(p), expected[i].candidate);
  }
}

TEST(SystemPartitionTable, GptWithoutLdmIsNotDynamic) {
  DiskBuilder disk(400);
  disk.gptProtective();
  disk.gptEntry(0, gpt_type::microsoftReserved(), 34, 99);
  disk.gptEntry(1, gpt_type::basicData(), 100, 199);
  EXPECT_FALSE(readTable(disk).dynamic);
}

TEST(SystemPartitionTable, ProtectiveEntryWithoutGptHeaderStaysAnMbr) {
  DiskBuilder disk(400);
  disk.gptProtective();
  disk.put8(512, 'X');  // "EFI PART" spoilt
  const auto table = readTable(disk);
  EXPECT_EQ(table.style, Style::Mbr);
  ASSERT_EQ(table.partitions.size(), 1u);
  EXPECT_EQ(table.partitions[0].mbrType, ondisk::kTypeGptProtective);
  EXPECT_FALSE(isVolumeCandidate(table.partitions[0]));
}

TEST(SystemPartitionTable, LdmEntryMakesAnMbrDiskDynamic) {
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, ondisk::kTypeDynamicDisk, 63, 300);
  const auto table = readTable(disk);
  EXPECT_TRUE(table.dynamic);
  ASSERT_EQ(table.partitions.size(), 1u);
  EXPECT_FALSE(isVolumeCandidate(table.partitions[0]));
}

class WholeDiskVolumeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(WholeDiskVolumeTest, BootSectorAtSectorZeroIsOneVolumeOverTheDisk) {
  DiskBuilder disk(400);
  const std::string fs = GetParam();
  if (fs == "FAT16") disk.fat16(0, test::FatLayout{.totalSectors = 400});
  if (fs == "FAT32") disk.fat32(0, test::FatLayout{.reserved = 32, .sectorsPerFat = 8, .totalSectors = 400});
  if (fs == "NTFS") disk.ntfs(0, test::NtfsLayout{.totalSectors = 399}, false);
  if (fs == "exFAT") {
    // Formatters fill the boot code, which lies over the partition entries, with 0xF4.
    for (std::uint64_t at = 0x78; at < 0x1FE; ++at) disk.put8(at, 0xF4);
    disk.putText(3, "EXFAT   ");
    disk.signature(0);
  }
  const auto table = readTable(disk);
  EXPECT_EQ(table.style, Style::WholeDiskVolume);
  ASSERT_EQ(table.partitions.size(), 1u);
  const auto& p = table.partitions[0];
  EXPECT_EQ(p.number, 0);
  EXPECT_EQ(p.firstSector, 0u);
  EXPECT_EQ(p.sectorCount, 400u);
  EXPECT_TRUE(isVolumeCandidate(p));
}

INSTANTIATE_TEST_SUITE_P(FileSystems, WholeDiskVolumeTest, ::testing::Values("FAT16", "FAT32", "NTFS", "exFAT"));

TEST(SystemPartitionTable, FatTextWithImpossibleParametersIsAPartitionTable) {
  DiskBuilder disk(400);
  disk.fat32(0, test::FatLayout{.reserved = 32, .sectorsPerFat = 8, .sectorsPerCluster = 3, .totalSectors = 400});
  disk.mbrEntry(0, 0, 0x0C, 64, 300);  // written over the boot code area, as a real MBR would be
  const auto table = readTable(disk);
  EXPECT_EQ(table.style, Style::Mbr);
  expectPartitions(table, {{1, 64, 300, 0x0C, false}});
}

TEST(SystemPartitionTable, NothingWithoutSignatureOrSectors) {
  DiskBuilder blank(400);
  EXPECT_EQ(readTable(blank).style, Style::None);
  DiskBuilder disk(400);
  disk.mbrEntry(0, 0, 0x0C, 10, 100);
  const auto empty = readTable(disk, 0);
  EXPECT_EQ(empty.style, Style::None);
  EXPECT_TRUE(empty.partitions.empty());
}

struct CandidateCase {
  const char* name;
  SystemPartition partition;
  bool candidate;
};

class IsVolumeCandidateTest : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(IsVolumeCandidateTest, DecidesWhetherALetterIsGiven) {
  EXPECT_EQ(isVolumeCandidate(GetParam().partition), GetParam().candidate);
}

SystemPartition mbr(int number, std::uint8_t type, bool container = false) {
  return SystemPartition{number, 100, 100, type, std::nullopt, container};
}
SystemPartition gpt(const Guid& type) { return SystemPartition{1, 100, 100, 0, type, false}; }

INSTANTIATE_TEST_SUITE_P(
    Partitions, IsVolumeCandidateTest,
    ::testing::Values(CandidateCase{"Fat32Lba", mbr(1, 0x0C), true}, CandidateCase{"Ntfs", mbr(2, 0x07), true},
                      CandidateCase{"LinuxLogical", mbr(5, 0x83), true},
                      CandidateCase{"WholeDisk", mbr(0, 0), true},
                      CandidateCase{"EmptyEntry", mbr(1, 0), false},
                      CandidateCase{"Extended", mbr(2, ondisk::kTypeExtendedLba, true), false},
                      CandidateCase{"Protective", mbr(1, ondisk::kTypeGptProtective), false},
                      CandidateCase{"LdmMbr", mbr(1, ondisk::kTypeDynamicDisk), false},
                      CandidateCase{"GptBasicData", gpt(gpt_type::basicData()), true},
                      CandidateCase{"GptMsr", gpt(gpt_type::microsoftReserved()), false},
                      CandidateCase{"GptLdmData", gpt(gpt_type::ldmData()), false},
                      CandidateCase{"GptLdmMetadata", gpt(gpt_type::ldmMetadata()), false}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace dravel::platform
