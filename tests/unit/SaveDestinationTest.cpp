// Whether a folder may take recovered files: it must be a writable folder,
// and not on the disk being recovered (compared by device number with the
// disk and each of its partitions).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "platform/SaveDestination.h"
#include "support/FakeSysfs.h"
#include "support/ScopedState.h"
#include "support/TempDir.h"

namespace dravel::platform {
namespace {

// "major:minor" of the file system holding `path`.
std::string deviceOf(const std::filesystem::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
}

TEST(SaveDestination, MissingOrNotAFolderIsInvalid) {
  test::TempDir dir;
  test::writeFile(dir / "file.txt", "x");
  const test::ScopedCurrentDevices devices(DeviceOptions{{}, true});
  EXPECT_EQ(checkDestination(dir / "missing", "\\\\.\\PhysicalDrive0"), DestinationProblem::Invalid);
  EXPECT_EQ(checkDestination(dir / "file.txt", "\\\\.\\PhysicalDrive0"), DestinationProblem::Invalid);
  EXPECT_EQ(checkDestination("", "\\\\.\\PhysicalDrive0"), DestinationProblem::Invalid);
  EXPECT_EQ(checkDestination(dir.path(), "\\\\.\\PhysicalDrive0"), DestinationProblem::None);
}

TEST(SaveDestination, BesideAnAttachedImageIsFine) {
  test::TempDir dir;
  test::writeFile(dir / "disk.img", std::string(1 << 16, '\0'));
  const test::ScopedCurrentDevices devices(DeviceOptions{{dir / "disk.img"}, true});
  EXPECT_EQ(checkDestination(dir.path(), "\\\\.\\PhysicalDrive0"), DestinationProblem::None);
}

struct DeviceCase {
  const char* name;
  bool diskMatches;
  bool partitionMatches;
  const char* source;
  DestinationProblem expected;
};

void PrintTo(const DeviceCase& c, std::ostream* os) { *os << c.name; }

class SourceDevice : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(SourceDevice, SameDeviceNumberIsTheSourceDrive) {
  const auto& c = GetParam();
  test::TempDir dest;
  test::TempDir root;
  test::FakeSysfs sysfs(root.path());
  auto stick = test::FakeSysfs::usbStick("sdz", 1 << 20);
  stick.dev = c.diskMatches ? deviceOf(dest.path()) : "250:250";
  stick.partitions.push_back({"sdz1", 1, 2048, 100000, c.partitionMatches ? deviceOf(dest.path()) : "250:251", {}});
  sysfs.add(stick);
  const test::ScopedCurrentDevices devices(sysfs.options());
  EXPECT_EQ(checkDestination(dest.path(), c.source), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SourceDevice,
    ::testing::Values(
        DeviceCase{"OnTheDisk", true, false, "\\\\.\\PhysicalDrive0", DestinationProblem::OnSourceDrive},
        DeviceCase{"OnAPartitionOfTheDisk", false, true, "\\\\.\\PhysicalDrive0", DestinationProblem::OnSourceDrive},
        DeviceCase{"OnThePartitionOfTheVolume", false, true, "\\\\.\\C:", DestinationProblem::OnSourceDrive},
        DeviceCase{"ElsewhereIsFine", false, false, "\\\\.\\PhysicalDrive0", DestinationProblem::None}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace dravel::platform
