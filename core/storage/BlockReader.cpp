#include "BlockReader.h"

#include <cerrno>

#include "ondisk/Sector.h"

namespace dravel::storage {

std::optional<BlockReader> BlockReader::open(std::string_view devicePath, platform::DeviceHandle::OpenError* why) {
  auto handle = platform::DeviceHandle::open(devicePath, why);
  if (!handle) return std::nullopt;
  return BlockReader(std::string(devicePath), std::move(*handle));
}

BlockRead BlockReader::read(std::uint64_t sector, std::span<std::byte> buffer) const {
  if (buffer.size() % kSectorSize != 0 || sector > UINT64_MAX / kSectorSize) return BlockRead{0, EINVAL};
  const auto r = m_handle.read(sector * kSectorSize, buffer);
  return BlockRead{r.bytes, r.error};
}

std::uint64_t BlockReader::sectorCount() const { return m_handle.length() / kSectorSize; }

}  // namespace dravel::storage
