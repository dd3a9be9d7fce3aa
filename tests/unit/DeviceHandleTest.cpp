#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/DeviceHandle.h"
#include "platform/DeviceNamespace.h"
#include "support/DiskBuilder.h"
#include "support/ScopedState.h"
#include "support/TempDir.h"

namespace dravel::platform {
namespace {

namespace fs = std::filesystem;

// 200 sectors, each filled with its own number (mod 251) after sector 0, and
// a primary partition over sectors 100..149.
class DeviceHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DiskBuilder disk(200);
    for (std::uint64_t s = 1; s < 200; ++s) {
      for (std::uint64_t i = 0; i < 512; ++i) disk.put8(s * 512 + i, static_cast<std::uint8_t>(s % 251));
    }
    disk.mbrEntry(0, 0, 0x0C, 100, 50);
    disk.writeTo(m_image);
  }

  static std::uint8_t sectorMark(const std::vector<std::byte>& buffer, std::size_t at) {
    return static_cast<std::uint8_t>(buffer[at]);
  }

  test::TempDir m_dir;
  fs::path m_image = m_dir / "disk.img";
};

TEST_F(DeviceHandleTest, VolumeReadsStayInsideItsSlice) {
  const DeviceNamespace ns(DeviceOptions{{m_image}, true});
  const auto volume = DeviceHandle::open("\\\\.\\C:", ns);
  ASSERT_TRUE(volume.has_value());
  EXPECT_EQ(volume->length(), 50u * 512);

  std::vector<std::byte> buffer(1024);
  auto r = volume->read(0, buffer);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, 1024u);
  EXPECT_EQ(sectorMark(buffer, 0), 100);
  EXPECT_EQ(sectorMark(buffer, 512), 101);

  // The last sector of the volume: the next sector of the disk is not the volume's.
  r = volume->read(49 * 512, buffer);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, 512u);
  EXPECT_EQ(sectorMark(buffer, 0), 149);

  for (const std::uint64_t offset : {std::uint64_t{50 * 512}, std::uint64_t{50 * 512 + 1}, UINT64_MAX - 100}) {
    r = volume->read(offset, buffer);
    EXPECT_TRUE(r.ok()) << offset;
    EXPECT_EQ(r.bytes, 0u) << offset;
  }
}

TEST_F(DeviceHandleTest, DiskReadsReachTheEndOfTheImage) {
  const DeviceNamespace ns(DeviceOptions{{m_image}, true});
  const auto disk = DeviceHandle::open("\\\\.\\PhysicalDrive0", ns);
  ASSERT_TRUE(disk.has_value());
  EXPECT_EQ(disk->length(), 200u * 512);
  std::vector<std::byte> buffer(2048);
  const auto r = disk->read(198 * 512 + 100, buffer);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, 2 * 512u - 100);
  EXPECT_EQ(sectorMark(buffer, 0), 198);
  EXPECT_EQ(sectorMark(buffer, 412), 199);
}

struct TruncationCase {
  const char* name;
  std::uint64_t sectorsLeft;  // of the image after the scan
  std::uint64_t diskLength;
  std::uint64_t volumeLength;
};

class TruncatedImageTest : public DeviceHandleTest, public ::testing::WithParamInterface<TruncationCase> {};

// The image shrank after the namespace read its table: lengths follow the file.
TEST_P(TruncatedImageTest, LengthsFollowWhatIsLeft) {
  const DeviceNamespace ns(DeviceOptions{{m_image}, true});
  fs::resize_file(m_image, GetParam().sectorsLeft * 512);
  const auto disk = DeviceHandle::open("\\\\.\\PhysicalDrive0", ns);
  const auto volume = DeviceHandle::open("\\\\.\\C:", ns);
  ASSERT_TRUE(disk.has_value());
  ASSERT_TRUE(volume.has_value());
  EXPECT_EQ(disk->length(), GetParam().diskLength);
  EXPECT_EQ(volume->length(), GetParam().volumeLength);
  std::vector<std::byte> buffer(50 * 512);
  const auto r = volume->read(0, buffer);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, GetParam().volumeLength);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TruncatedImageTest,
                         ::testing::Values(TruncationCase{"Untouched", 200, 200 * 512, 50 * 512},
                                           TruncationCase{"InsideTheVolume", 120, 120 * 512, 20 * 512},
                                           TruncationCase{"AtTheVolumeStart", 100, 100 * 512, 0},
                                           TruncationCase{"BeforeTheVolume", 60, 60 * 512, 0}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(DeviceHandleTest, TargetWithoutLengthEndsAtTheNode) {
  const auto handle = DeviceHandle::open(DeviceTarget{m_image, 150 * 512, 0});
  ASSERT_TRUE(handle.has_value());
  EXPECT_EQ(handle->length(), 50u * 512);
  const auto beyond = DeviceHandle::open(DeviceTarget{m_image, 300 * 512, 0});
  ASSERT_TRUE(beyond.has_value());
  EXPECT_EQ(beyond->length(), 0u);
}

TEST_F(DeviceHandleTest, OpenErrorsSayWhy) {
  const fs::path vanishing = m_dir / "vanishing.img";
  fs::copy_file(m_image, vanishing);
  const DeviceNamespace ns(DeviceOptions{{m_image, vanishing}, true});
  fs::remove(vanishing);

  DeviceHandle::OpenError why;
  EXPECT_FALSE(DeviceHandle::open("\\\\.\\PhysicalDrive3", ns, &why).has_value());
  EXPECT_EQ(why.error, ENODEV);
  EXPECT_EQ(why.message, "\\\\.\\PhysicalDrive3: no such device");

  why = {};
  EXPECT_FALSE(DeviceHandle::open("\\\\.\\PhysicalDrive1", ns, &why).has_value());
  EXPECT_EQ(why.error, ENOENT);
  EXPECT_TRUE(why.message.starts_with("\\\\.\\PhysicalDrive1 (")) << why.message;
  EXPECT_NE(why.message.find(vanishing.string()), std::string::npos) << why.message;
}

TEST_F(DeviceHandleTest, PathsResolveInTheInstalledNamespace) {
  const test::ScopedCurrentDevices devices(DeviceOptions{{m_image}, true});
  const auto volume = DeviceHandle::open("\\\\.\\C:");
  ASSERT_TRUE(volume.has_value());
  EXPECT_EQ(volume->length(), 50u * 512);
  EXPECT_FALSE(DeviceHandle::open("\\\\.\\D:").has_value());
}

}  // namespace
}  // namespace dravel::platform
