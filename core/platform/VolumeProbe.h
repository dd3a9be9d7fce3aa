#pragma once
// What a volume query reports, answered from the volume's own boot sector
// (and for NTFS the $Volume record): file-system name as the platform names
// it ("FAT", "FAT32", "NTFS", "exFAT"), label, serial number, and the total
// and free bytes an unmounted volume's structures give.

#include <cstdint>
#include <optional>
#include <string>

#include "DeviceHandle.h"

namespace dravel::platform {

struct VolumeSpace {
  std::uint64_t totalBytes = 0;
  std::optional<std::uint64_t> freeBytes;  // unknown when the structures do not say
};

struct VolumeProbe {
  std::string fileSystemName;
  std::string label;
  std::uint32_t serialNumber = 0;
  std::optional<VolumeSpace> space;
};

// nullopt when sector 0 of the volume holds no recognisable file system.
[[nodiscard]] std::optional<VolumeProbe> probeVolume(const DeviceHandle& volume);

}  // namespace dravel::platform
