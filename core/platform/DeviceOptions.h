#pragma once
// How a front end asks for devices: attached image files and whether the
// machine's own block devices are hidden. Every front end takes the same
// options: `--image FILE` (repeatable) and `--images-only`.

#include <filesystem>
#include <string>
#include <vector>

namespace dravel::platform {

struct DeviceOptions {
  std::vector<std::filesystem::path> images;  // in the order given: their disk numbers follow this order
  bool imagesOnly = false;                    // hide the machine's block devices
  std::filesystem::path sysRoot = "/sys";
  std::filesystem::path devRoot = "/dev";
  std::filesystem::path mountInfo = "/proc/self/mountinfo";
};

struct DeviceOptionsParse {
  DeviceOptions options;
  std::vector<std::string> rest;  // the arguments that are not device options, in order
  std::string error;              // non-empty on bad usage, e.g. "--image needs a file"
};

// Takes `--image FILE`, `--image=FILE` and `--images-only` out of the arguments.
[[nodiscard]] DeviceOptionsParse parseDeviceOptions(const std::vector<std::string>& args);

}  // namespace dravel::platform
