#pragma once
// Whole-disk block devices and their partitions, read from a sysfs tree.
// The roots are parameters so that tests can build a tree of their own.

#include <filesystem>
#include <vector>

#include "Devices.h"

namespace dravel::platform {

// Whole disks named sd*, mmcblk*, nvme*n*, vd*, and loop* with a backing
// file, in natural name order. Numbers are not assigned here.
[[nodiscard]] std::vector<DiskDevice> scanSysfsDisks(const std::filesystem::path& sysRoot,
                                                     const std::filesystem::path& devRoot);

// The bus a device hangs on, from its canonical sysfs path.
[[nodiscard]] BusType busFromSysfsPath(const std::string& canonicalPath);

// "sdb" < "sdc" < "sdaa", "mmcblk2" < "mmcblk10".
[[nodiscard]] bool naturalLess(const std::string& a, const std::string& b);

}  // namespace dravel::platform
