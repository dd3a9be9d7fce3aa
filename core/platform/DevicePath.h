#pragma once
// The system's device names: "\\.\PhysicalDrive%d" for a disk and "\\.\E:"
// for a volume. They stay the names in every text, record and log; the device
// namespace resolves them to Linux block devices or attached images.

#include <optional>
#include <string>
#include <string_view>

namespace dravel::platform {

inline constexpr int kMaxDiskNumbers = 25;    // disk numbers 0..24 are examined
inline constexpr int kDevicePathCount = 26;   // "\\.\PhysicalDrive0" .. "\\.\PhysicalDrive25"

struct DevicePath {
  enum class Kind { PhysicalDrive, Volume };
  Kind kind = Kind::PhysicalDrive;
  int diskNumber = -1;  // PhysicalDrive
  char letter = 0;      // Volume, upper case
};

// Case-insensitive, as the names are on the platform they come from.
[[nodiscard]] std::optional<DevicePath> parseDevicePath(std::string_view text);

[[nodiscard]] std::string physicalDrivePath(int diskNumber);  // "\\.\PhysicalDrive1"
[[nodiscard]] std::string volumePath(char letter);            // "\\.\E:"

}  // namespace dravel::platform
