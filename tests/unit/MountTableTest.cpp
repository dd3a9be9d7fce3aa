#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/TempDir.h"
#include "platform/MountTable.h"

namespace dravel::platform {
namespace {

// Shaped like /proc/self/mountinfo: id, parent, major:minor, root, mount point, ...
constexpr const char* kMountInfo =
    "22 1 252:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
    "35 22 8:17 / /media/ann/USB\\040STICK rw,nosuid - vfat /dev/sdb1 rw\n"
    "36 22 8:33 / /mnt/back\\134slash\\011tab rw - vfat /dev/sdc1 rw\n"
    "37 22 8:49 / /mnt/ends\\040 rw - vfat /dev/sdd1 rw\n"
    "38 22 8:65 / /mnt/not\\08octal rw - vfat /dev/sde1 rw\n"
    "broken line\n"
    "39 22 8:18 /sub /mnt/first rw - vfat /dev/sdb2 rw\n"
    "40 22 8:18 / /mnt/second rw - vfat /dev/sdb2 rw\n";

struct MountCase {
  const char* devNumbers;
  std::optional<std::string> mountPoint;
};

class FindMountPointTest : public ::testing::TestWithParam<MountCase> {
 protected:
  void SetUp() override { test::writeFile(m_dir / "mountinfo", kMountInfo); }
  test::TempDir m_dir;
};

TEST_P(FindMountPointTest, UnescapesTheMountPointOfTheDevice) {
  const auto found = findMountPoint(m_dir / "mountinfo", GetParam().devNumbers);
  if (!GetParam().mountPoint) {
    EXPECT_FALSE(found.has_value());
    return;
  }
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->string(), *GetParam().mountPoint);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, FindMountPointTest,
    ::testing::Values(MountCase{"252:1", "/"}, MountCase{"8:17", "/media/ann/USB STICK"},
                      MountCase{"8:33", "/mnt/back\\slash\ttab"},
                      // An escape that ends the field is still decoded.
                      MountCase{"8:49", "/mnt/ends "},
                      // A backslash not followed by three octal digits is kept as it is.
                      MountCase{"8:65", "/mnt/not\\08octal"},
                      // The first line for the device wins.
                      MountCase{"8:18", "/mnt/first"},
                      // Device numbers match whole: 8:1 is neither 8:17 nor 8:18.
                      MountCase{"8:1", std::nullopt}, MountCase{"8:16", std::nullopt},
                      // Images have no device numbers.
                      MountCase{"", std::nullopt}));

TEST(FindMountPoint, MissingMountInfoFindsNothing) {
  const test::TempDir dir;
  EXPECT_FALSE(findMountPoint(dir / "absent", "8:17").has_value());
}

}  // namespace
}  // namespace dravel::platform
