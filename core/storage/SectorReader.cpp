#include "SectorReader.h"

#include <algorithm>

#include "ondisk/Sector.h"
#include "platform/DeviceHandle.h"
#include "platform/System.h"

namespace dravel::storage {

namespace {

bool readOnNtFamily(const SectorReadRequest& request) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(request.sectorCount) * kSectorSize;
  if (request.buffer.size() < bytes) return false;
  const auto device = platform::DeviceHandle::open(request.devicePath);
  if (!device) return false;
  if (bytes == 0) return true;
  if (request.firstSector > UINT64_MAX / kSectorSize) return false;
  const auto target = request.buffer.first(static_cast<std::size_t>(bytes));
  const auto result = device->read(request.firstSector * kSectorSize, target);
  if (!result.ok() || result.bytes == 0) return false;
  // The end of the device cut the read short: what lies beyond is not the
  // medium's, so it must not look like data left from an earlier read.
  std::fill(target.begin() + static_cast<std::ptrdiff_t>(result.bytes), target.end(), std::byte{0});
  return true;
}

}  // namespace

bool readSectors(const SectorReadRequest& request) {
  switch (platform::platformFamily()) {
    case platform::kFamilyNt:
      return readOnNtFamily(request);
    default:
      return false;  // no other family reads anything
  }
}

}  // namespace dravel::storage
