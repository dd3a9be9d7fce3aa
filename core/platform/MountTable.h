#pragma once
// Where block devices are mounted, from a mountinfo file.

#include <filesystem>
#include <optional>
#include <string>

namespace dravel::platform {

// The mount point of the device "major:minor", if it is mounted.
[[nodiscard]] std::optional<std::filesystem::path> findMountPoint(const std::filesystem::path& mountInfo,
                                                                  const std::string& devNumbers);

}  // namespace dravel::platform
