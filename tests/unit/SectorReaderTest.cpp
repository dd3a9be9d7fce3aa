#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/DeviceOptions.h"
#include "storage/SectorReader.h"
#include "support/DiskBuilder.h"
#include "support/ScopedState.h"
#include "support/TempDir.h"

namespace dravel::storage {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDisk = "\\\\.\\PhysicalDrive0";
constexpr const char* kVolume = "\\\\.\\C:";

// A 64-sector image, each sector after the first filled with its number, and
// a volume over sectors 40..49.
class SectorReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DiskBuilder disk(64);
    for (std::uint64_t s = 1; s < 64; ++s) {
      for (std::uint64_t i = 0; i < 512; ++i) disk.put8(s * 512 + i, static_cast<std::uint8_t>(s));
    }
    disk.mbrEntry(0, 0, 0x0C, 40, 10);
    disk.writeTo(m_image);
    m_devices.emplace(platform::DeviceOptions{{m_image}, true});
  }

  // Reads into a buffer of `bufferSectors` sectors filled with 0xCC beforehand.
  bool read(const std::string& path, std::uint64_t first, std::uint32_t count, std::size_t bufferSectors) {
    m_buffer.assign(bufferSectors * 512, std::byte{0xCC});
    return readSectors(SectorReadRequest{path, first, count, m_buffer});
  }

  [[nodiscard]] std::uint8_t at(std::size_t offset) const { return static_cast<std::uint8_t>(m_buffer[offset]); }

  test::TempDir m_dir;
  fs::path m_image = m_dir / "disk.img";
  std::optional<test::ScopedCurrentDevices> m_devices;
  std::vector<std::byte> m_buffer;
};

TEST_F(SectorReaderTest, ReadsSectorsOfADisk) {
  ASSERT_TRUE(read(kDisk, 3, 2, 2));
  EXPECT_EQ(at(0), 3);
  EXPECT_EQ(at(511), 3);
  EXPECT_EQ(at(512), 4);
  EXPECT_EQ(at(1023), 4);
}

TEST_F(SectorReaderTest, VolumeSectorsCountFromTheVolumeStart) {
  ASSERT_TRUE(read(kVolume, 0, 1, 1));
  EXPECT_EQ(at(0), 40);
  ASSERT_TRUE(read(kVolume, 9, 1, 1));
  EXPECT_EQ(at(0), 49);
}

struct EndCase {
  const char* name;
  const char* path;
  std::uint64_t first;
  std::uint32_t count;
  std::uint8_t lastMark;  // the mark of the device's last sector
  std::uint32_t sectorsThere;
};

class ReadIntoTheEndTest : public SectorReaderTest, public ::testing::WithParamInterface<EndCase> {};

// What lies beyond the end is not the medium's: it reads as zeros, never as
// what the buffer held before (nor, for a volume, as its neighbour's data).
TEST_P(ReadIntoTheEndTest, SucceedsAndZeroFillsTheRest) {
  const auto& c = GetParam();
  ASSERT_TRUE(read(c.path, c.first, c.count, c.count + 1));
  const std::size_t there = static_cast<std::size_t>(c.sectorsThere) * 512;
  EXPECT_EQ(at(there - 1), c.lastMark);
  for (std::size_t i = there; i < static_cast<std::size_t>(c.count) * 512; ++i) ASSERT_EQ(at(i), 0) << "byte " << i;
  // Past the request the buffer is the caller's.
  EXPECT_EQ(at(static_cast<std::size_t>(c.count) * 512), 0xCC);
}

INSTANTIATE_TEST_SUITE_P(Devices, ReadIntoTheEndTest,
                         ::testing::Values(EndCase{"Disk", kDisk, 62, 4, 63, 2},
                                           EndCase{"Volume", kVolume, 8, 4, 49, 2},
                                           EndCase{"VolumeLastSector", kVolume, 9, 3, 49, 1}),
                         [](const auto& p) { return std::string(p.param.name); });

struct FailCase {
  const char* name;
  const char* path;
  std::uint64_t first;
  std::uint32_t count;
  std::size_t bufferSectors;
};

class ReadFailsTest : public SectorReaderTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(ReadFailsTest, Fails) {
  const auto& c = GetParam();
  EXPECT_FALSE(read(c.path, c.first, c.count, c.bufferSectors));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ReadFailsTest,
    ::testing::Values(FailCase{"StartsAtTheDiskEnd", kDisk, 64, 1, 1},
                      FailCase{"StartsPastTheDiskEnd", kDisk, 1000, 1, 1},
                      FailCase{"StartsAtTheVolumeEnd", kVolume, 10, 1, 1},
                      FailCase{"SectorNumberOverflows", kDisk, UINT64_MAX / 512 + 1, 1, 1},
                      FailCase{"BufferTooSmall", kDisk, 0, 3, 2},
                      FailCase{"UnknownDisk", "\\\\.\\PhysicalDrive1", 0, 1, 1},
                      FailCase{"UnknownVolume", "\\\\.\\D:", 0, 1, 1}, FailCase{"NotADevicePath", "disk.img", 0, 1, 1},
                      FailCase{"ZeroSectorsOfAnUnknownDevice", "\\\\.\\PhysicalDrive1", 0, 0, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SectorReaderTest, ZeroSectorsSucceedWhenTheDeviceOpens) {
  EXPECT_TRUE(read(kDisk, 0, 0, 0));
  EXPECT_TRUE(read(kVolume, 500, 0, 0));
}

TEST_F(SectorReaderTest, ZeroSectorsFailWhenTheDeviceDoesNotOpen) {
  fs::remove(m_image);  // known to the namespace, gone from the disk
  EXPECT_FALSE(read(kDisk, 0, 0, 0));
  EXPECT_FALSE(read(kDisk, 0, 1, 1));
}

TEST_F(SectorReaderTest, OtherPlatformFamiliesReadNothing) {
  const test::ScopedPlatformFamily family('W');
  EXPECT_FALSE(read(kDisk, 3, 1, 1));
  EXPECT_EQ(at(0), 0xCC);
  EXPECT_FALSE(read(kDisk, 0, 0, 0));
}

// Sector numbers beyond 32 bits: the byte offset is the full 64-bit product.
TEST(SectorReaderLargeOffset, ReadsSectorBeyondTwoToTheThirtyTwo) {
  const test::TempDir dir;
  const fs::path file = dir / "sparse.img";
  constexpr std::uint64_t kSector = (1ull << 32) + 5;
  {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    if (::ftruncate(fd, static_cast<off_t>((kSector + 1) * 512)) != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EFBIG || error == EINVAL) GTEST_SKIP() << "the temporary folder cannot hold a 2 TiB sparse file";
      FAIL() << std::strerror(error);
    }
    const char right[] = "RIGHT";
    const char wrong[] = "WRONG";  // where a 32-bit sector number would land
    ASSERT_EQ(::pwrite(fd, right, sizeof right, static_cast<off_t>(kSector * 512)), static_cast<ssize_t>(sizeof right));
    ASSERT_EQ(::pwrite(fd, wrong, sizeof wrong, 5 * 512), static_cast<ssize_t>(sizeof wrong));
    ::close(fd);
  }
  const test::ScopedCurrentDevices devices(platform::DeviceOptions{{file}, true});
  std::vector<std::byte> buffer(512, std::byte{0xCC});
  ASSERT_TRUE(readSectors(SectorReadRequest{kDisk, kSector, 1, buffer}));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())), "RIGHT");
  EXPECT_FALSE(readSectors(SectorReadRequest{kDisk, kSector + 1, 1, buffer}));
}

}  // namespace
}  // namespace dravel::storage
