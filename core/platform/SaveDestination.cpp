#include "SaveDestination.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <vector>

#include "DeviceNamespace.h"
#include "DevicePath.h"
#include "MountTable.h"
#include "common/Text.h"

namespace dravel::platform {

namespace {

// "8:17" as a device number.
std::optional<dev_t> parseDevNumbers(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const auto major = parseUnsigned(trimView(std::string_view(text).substr(0, colon)));
  const auto minor = parseUnsigned(trimView(std::string_view(text).substr(colon + 1)));
  if (!major || !minor || *major > 0xFFFFFFFFu || *minor > 0xFFFFFFFFu) return std::nullopt;
  return makedev(static_cast<unsigned>(*major), static_cast<unsigned>(*minor));
}

std::optional<DiskDevice> sourceDisk(const DeviceNamespace& devices, const std::string& sourceDevicePath) {
  const auto parsed = parseDevicePath(sourceDevicePath);
  if (!parsed) return std::nullopt;
  if (parsed->kind == DevicePath::Kind::PhysicalDrive) return devices.disk(parsed->diskNumber);
  const auto volume = devices.volume(parsed->letter);
  if (!volume) return std::nullopt;
  return devices.disk(volume->diskNumber);
}

// The device numbers of the disk and of each of its partitions, as sysfs
// gave them and as their nodes carry them.
std::vector<std::pair<dev_t, std::string>> sourceDevices(const DiskDevice& disk) {
  std::vector<std::pair<dev_t, std::string>> out;
  const auto add = [&out](const std::string& numbers, const std::filesystem::path& node) {
    if (const auto dev = parseDevNumbers(numbers)) out.emplace_back(*dev, numbers);
    struct stat info {};
    if (::stat(node.c_str(), &info) == 0 && S_ISBLK(info.st_mode)) {
      out.emplace_back(info.st_rdev, strprintf("%u:%u", major(info.st_rdev), minor(info.st_rdev)));
    }
  };
  add(disk.devNumbers, disk.node);
  for (const auto& part : disk.kernelPartitions) add(part.devNumbers, disk.node.parent_path() / part.name);
  return out;
}

}  // namespace

DestinationProblem checkDestination(const std::filesystem::path& folder, const std::string& sourceDevicePath) {
  struct stat info {};
  if (folder.empty() || ::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      ::access(folder.c_str(), W_OK | X_OK) != 0) {
    return DestinationProblem::Invalid;
  }
  const auto disk = sourceDisk(*currentDevices(), sourceDevicePath);
  // An image's bytes live in a file that exists already: files saved beside
  // it take other blocks.
  if (!disk || disk->isImage) return DestinationProblem::None;
  for (const auto& [dev, numbers] : sourceDevices(*disk)) {
    if (info.st_dev == dev) return DestinationProblem::OnSourceDrive;
    // File systems that give their files a device number of their own
    // (btrfs): compare with where the source is mounted.
    const auto mountPoint = findMountPoint("/proc/self/mountinfo", numbers);
    struct stat mounted {};
    if (mountPoint && ::stat(mountPoint->c_str(), &mounted) == 0 && mounted.st_dev == info.st_dev) {
      return DestinationProblem::OnSourceDrive;
    }
  }
  return DestinationProblem::None;
}

}  // namespace dravel::platform
