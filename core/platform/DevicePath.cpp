#include "DevicePath.h"

#include "common/Text.h"

namespace dravel::platform {

namespace {
constexpr std::string_view kPrefix = "\\\\.\\";
constexpr std::string_view kPhysical = "PHYSICALDRIVE";
}  // namespace

std::optional<DevicePath> parseDevicePath(std::string_view text) {
  if (!startsWithNoCase(text, kPrefix)) return std::nullopt;
  const std::string rest = toUpperAscii(text.substr(kPrefix.size()));
  if (rest.starts_with(kPhysical)) {
    const auto number = parseUnsigned(std::string_view(rest).substr(kPhysical.size()));
    if (!number || *number >= static_cast<std::uint64_t>(kDevicePathCount)) return std::nullopt;
    return DevicePath{DevicePath::Kind::PhysicalDrive, static_cast<int>(*number), 0};
  }
  if (rest.size() == 2 && rest[1] == ':' && rest[0] >= 'A' && rest[0] <= 'Z') {
    return DevicePath{DevicePath::Kind::Volume, -1, rest[0]};
  }
  return std::nullopt;
}

std::string physicalDrivePath(int diskNumber) { return strprintf("\\\\.\\PhysicalDrive%d", diskNumber); }

std::string volumePath(char letter) { return strprintf("\\\\.\\%c:", letter); }

}  // namespace dravel::platform
