#pragma once
// The one routine that reads a run of 512-byte sectors from a device path.
// It keeps no descriptor between calls: each call opens, reads and closes,
// so any thread may call it at any time.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace dravel::storage {

struct SectorReadRequest {
  std::string devicePath;        // "\\.\PhysicalDrive1" or "\\.\E:"
  std::uint64_t firstSector = 0; // absolute on the device the path names
  std::uint32_t sectorCount = 0;
  std::span<std::byte> buffer;   // at least sectorCount × 512 bytes
};

// True when the read succeeded. A read that runs into the end of the device
// succeeds with what was there and zeros after it; a read that starts at or
// past the end, an unknown path, a device that does not open, a failed read
// and a buffer too small for the request all fail. After a failure the
// buffer's content is unspecified. A read of 0 sectors succeeds when the
// device opens.
[[nodiscard]] bool readSectors(const SectorReadRequest& request);

}  // namespace dravel::storage
