#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/DiskBuilder.h"
#include "support/TempDir.h"
#include "platform/DeviceHandle.h"
#include "platform/VolumeProbe.h"

namespace dravel::platform {
namespace {

using test::DiskBuilder;
using test::FatLayout;
using test::NtfsLayout;

class VolumeProbeTest : public ::testing::Test {
 protected:
  // Probes the builder's bytes, cut to `bytes` when given.
  std::optional<VolumeProbe> probe(const DiskBuilder& volume, std::optional<std::uint64_t> bytes = std::nullopt) {
    const auto file = m_dir / ("volume" + std::to_string(m_files++) + ".img");
    volume.writeTo(file);
    if (bytes) std::filesystem::resize_file(file, *bytes);
    const auto handle = DeviceHandle::open(DeviceTarget{file, 0, 0});
    if (!handle) {
      ADD_FAILURE() << "cannot open " << file;
      return std::nullopt;
    }
    return probeVolume(*handle);
  }

  test::TempDir m_dir;
  int m_files = 0;
};

// FAT16 with 5000 clusters of one sector: 4 reserved sectors, two FATs of 32
// sectors, 32 sectors of root folder, clusters from sector 100.
constexpr FatLayout kFat16{.reserved = 4, .sectorsPerFat = 32, .sectorsPerCluster = 1, .rootEntries = 512,
                           .totalSectors = 5100, .label = "KINGSTON", .volumeId = 0x1A2B3C4D};

TEST_F(VolumeProbeTest, Fat16CountsTheFreeEntriesOfTheFirstFat) {
  DiskBuilder volume(100);
  volume.fat16(0, kFat16);
  for (std::uint64_t cluster = 2; cluster < 12; ++cluster) volume.put16(4 * 512 + cluster * 2, 0xFFFF);
  // The entry after the last cluster is zero too but is no cluster; the last
  // cluster (5001) is free and counts.
  const auto p = probe(volume);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->fileSystemName, "FAT");
  EXPECT_EQ(p->label, "KINGSTON");
  EXPECT_EQ(p->serialNumber, 0x1A2B3C4Du);
  ASSERT_TRUE(p->space.has_value());
  EXPECT_EQ(p->space->totalBytes, 5000u * 512);
  EXPECT_EQ(p->space->freeBytes, std::optional<std::uint64_t>(4990u * 512));
}

TEST_F(VolumeProbeTest, Fat16FreeIsUnknownWhenTheFatCannotBeRead) {
  DiskBuilder volume(100);
  volume.fat16(0, kFat16);
  const auto p = probe(volume, 20 * 512);  // the image ends inside the first FAT
  ASSERT_TRUE(p.has_value());
  ASSERT_TRUE(p->space.has_value());
  EXPECT_EQ(p->space->totalBytes, 5000u * 512);
  EXPECT_FALSE(p->space->freeBytes.has_value());
}

TEST_F(VolumeProbeTest, FatWithFat12ClusterCountHasNoFreeCount) {
  DiskBuilder volume(400);
  volume.fat16(0, FatLayout{.sectorsPerCluster = 4, .totalSectors = 400});  // 75 clusters
  const auto p = probe(volume);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->fileSystemName, "FAT");
  ASSERT_TRUE(p->space.has_value());
  EXPECT_EQ(p->space->totalBytes, 75u * 4 * 512);
  EXPECT_FALSE(p->space->freeBytes.has_value());
}

struct LabelCase {
  const char* name;
  std::string stored;          // the 11 label bytes
  std::uint8_t extendedSignature;
  const char* label;
  std::uint32_t serial;
};

class FatLabelTest : public VolumeProbeTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(FatLabelTest, LabelAndSerialFollowTheExtendedSignature) {
  const auto& c = GetParam();
  for (const bool fat32 : {false, true}) {
    SCOPED_TRACE(fat32 ? "FAT32" : "FAT16");
    DiskBuilder volume(64);
    if (fat32) {
      volume.fat32(0, FatLayout{.reserved = 8, .sectorsPerFat = 8, .totalSectors = 64, .volumeId = 0xCAFE0001});
    } else {
      volume.fat16(0, FatLayout{.reserved = 4, .sectorsPerFat = 8, .totalSectors = 64, .volumeId = 0xCAFE0001});
    }
    const std::uint64_t ebr = fat32 ? 0x42 : 0x26;
    volume.put8(ebr, c.extendedSignature);
    volume.putText(ebr + 5, c.stored);
    const auto p = probe(volume);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->label, c.label);
    EXPECT_EQ(p->serialNumber, c.serial);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Labels, FatLabelTest,
    ::testing::Values(LabelCase{"Plain", "KINGSTON   ", 0x29, "KINGSTON", 0xCAFE0001},
                      LabelCase{"InnerBlankKept", "MY DISK    ", 0x29, "MY DISK", 0xCAFE0001},
                      LabelCase{"NoName", "NO NAME    ", 0x29, "", 0xCAFE0001},
                      LabelCase{"NotAscii", "PHOTO\x8E\x01    ", 0x29, "PHOTO__", 0xCAFE0001},
                      // The older extended signature has a serial but no label field.
                      LabelCase{"OldSignature", "KINGSTON   ", 0x28, "", 0xCAFE0001},
                      LabelCase{"NoSignature", "KINGSTON   ", 0x00, "", 0}),
    [](const auto& p) { return std::string(p.param.name); });

struct FsInfoCase {
  const char* name;
  std::uint32_t leadSignature;
  std::uint32_t structSignature;
  std::uint32_t freeCount;
  std::uint16_t fsInfoSector;
  std::optional<std::uint64_t> freeBytes;
};

class Fat32FreeTest : public VolumeProbeTest, public ::testing::WithParamInterface<FsInfoCase> {};

// 2000 sectors, 32 reserved, two FATs of 8 sectors: 976 clusters of 2 sectors.
TEST_P(Fat32FreeTest, FreeCountComesFromFsInfo) {
  const auto& c = GetParam();
  DiskBuilder volume(64);
  volume.fat32(0, FatLayout{.reserved = 32, .sectorsPerFat = 8, .sectorsPerCluster = 2, .totalSectors = 2000,
                            .label = "CARD", .volumeId = 0xDEADBEEF});
  volume.put16(0x30, c.fsInfoSector);
  volume.put32(512 + 0, c.leadSignature);
  volume.put32(512 + 484, c.structSignature);
  volume.put32(512 + 488, c.freeCount);
  const auto p = probe(volume);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->fileSystemName, "FAT32");
  EXPECT_EQ(p->label, "CARD");
  EXPECT_EQ(p->serialNumber, 0xDEADBEEFu);
  ASSERT_TRUE(p->space.has_value());
  EXPECT_EQ(p->space->totalBytes, 976u * 2 * 512);
  EXPECT_EQ(p->space->freeBytes, c.freeBytes);
}

INSTANTIATE_TEST_SUITE_P(
    FsInfo, Fat32FreeTest,
    ::testing::Values(FsInfoCase{"Known", 0x41615252, 0x61417272, 900, 1, 900u * 2 * 512},
                      FsInfoCase{"AllFree", 0x41615252, 0x61417272, 976, 1, 976u * 2 * 512},
                      FsInfoCase{"NotKnown", 0x41615252, 0x61417272, 0xFFFFFFFF, 1, std::nullopt},
                      FsInfoCase{"MoreThanTheClusters", 0x41615252, 0x61417272, 977, 1, std::nullopt},
                      FsInfoCase{"BadLeadSignature", 0x41615253, 0x61417272, 900, 1, std::nullopt},
                      FsInfoCase{"BadStructSignature", 0x41615252, 0x00000000, 900, 1, std::nullopt},
                      FsInfoCase{"NoFsInfoSector", 0x41615252, 0x61417272, 900, 0, std::nullopt}),
    [](const auto& p) { return std::string(p.param.name); });

// MFT record `index` holding a resident volume name, protected by an update
// sequence; `torn` spoils the second sector's sequence number.
void ntfsVolumeRecord(DiskBuilder& d, std::uint64_t recordOffset, const std::u16string& label, bool torn) {
  const std::uint64_t r = recordOffset;
  d.putText(r, "FILE");
  d.put16(r + 0x04, 0x30);  // update sequence array
  d.put16(r + 0x06, 3);     // the number and one entry per 512-byte stride
  d.put16(r + 0x14, 0x38);  // first attribute
  d.put16(r + 0x16, 1);     // in use
  d.put32(r + 0x1C, 1024);
  d.put16(r + 0x30, 0x0007);
  d.put16(r + 0x32, 0x0000);  // the real bytes at the end of each stride
  d.put16(r + 0x34, 0x0000);
  d.put16(r + 510, 0x0007);
  d.put16(r + 1022, torn ? 0x0008 : 0x0007);
  const std::uint64_t a = r + 0x38;
  const std::uint32_t valueBytes = static_cast<std::uint32_t>(label.size() * 2);
  const std::uint32_t length = (0x18 + valueBytes + 7) / 8 * 8;
  d.put32(a, 0x60);
  d.put32(a + 4, length);
  d.put32(a + 0x10, valueBytes);
  d.put16(a + 0x14, 0x18);
  for (std::size_t i = 0; i < label.size(); ++i) d.put16(a + 0x18 + i * 2, static_cast<std::uint16_t>(label[i]));
  d.put32(a + length, 0xFFFFFFFF);
  d.put32(r + 0x18, 0x38 + length + 8);
}

// 8 sectors per cluster, the MFT at cluster 4, records of 1024 bytes: $Volume
// (record 3) at byte 4 × 4096 + 3 × 1024.
constexpr std::uint64_t kVolumeRecordOffset = 4 * 4096 + 3 * 1024;

TEST_F(VolumeProbeTest, NtfsNameLabelSerialAndWholeClusters) {
  DiskBuilder volume(64);
  volume.ntfs(0, NtfsLayout{.totalSectors = 2047, .writeMftRecords = false}, false);
  ntfsVolumeRecord(volume, kVolumeRecordOffset, u"Donn\u00e9es", false);
  const auto p = probe(volume);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->fileSystemName, "NTFS");
  EXPECT_EQ(p->label, "Donn\xC3\xA9" "es");
  EXPECT_EQ(p->serialNumber, 0x55667788u);  // the low half of the 64-bit serial
  ASSERT_TRUE(p->space.has_value());
  EXPECT_EQ(p->space->totalBytes, 255u * 4096);  // 2047 sectors hold 255 whole clusters
  EXPECT_FALSE(p->space->freeBytes.has_value());
}

TEST_F(VolumeProbeTest, NtfsWithoutReadableVolumeRecordHasNoLabel) {
  struct Case {
    const char* name;
    bool torn;
    std::uint64_t imageBytes;
  };
  for (const auto& c : {Case{"Torn", true, 64 * 512}, Case{"CutShort", false, 38 * 512}}) {
    SCOPED_TRACE(c.name);
    DiskBuilder volume(64);
    volume.ntfs(0, NtfsLayout{.totalSectors = 2047, .writeMftRecords = false}, false);
    ntfsVolumeRecord(volume, kVolumeRecordOffset, u"DATA", c.torn);
    const auto p = probe(volume, c.imageBytes);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->fileSystemName, "NTFS");
    EXPECT_EQ(p->label, "");
  }
}

TEST_F(VolumeProbeTest, ExfatNameAndSerial) {
  DiskBuilder volume(8);
  volume.putText(3, "EXFAT   ");
  volume.put32(0x64, 0x0BADF00D);
  volume.signature(0);
  const auto p = probe(volume);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->fileSystemName, "exFAT");
  EXPECT_EQ(p->serialNumber, 0x0BADF00Du);
}

TEST_F(VolumeProbeTest, NothingRecognisable) {
  DiskBuilder noSignature(8);
  noSignature.fat16(0, FatLayout{.reserved = 1, .sectorsPerFat = 1, .totalSectors = 8});
  noSignature.put8(511, 0);
  EXPECT_FALSE(probe(noSignature).has_value());

  DiskBuilder partitionTable(8);
  partitionTable.mbrEntry(0, 0, 0x0C, 1, 7);
  EXPECT_FALSE(probe(partitionTable).has_value());

  DiskBuilder empty(1);
  EXPECT_FALSE(probe(empty, 0).has_value());
}

}  // namespace
}  // namespace dravel::platform
