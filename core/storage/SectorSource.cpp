#include "SectorSource.h"

#include <algorithm>
#include <cstring>

#include "SectorReader.h"
#include "ondisk/Sector.h"

namespace dravel::storage {

std::optional<SectorBuffer> readSector(SectorSource& source, std::uint64_t sector) {
  SectorBuffer buffer{};
  if (!source.read(sector, 1, buffer)) return std::nullopt;
  return buffer;
}

bool DeviceSectorSource::read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) {
  return readSectors(SectorReadRequest{m_path, firstSector, count, buffer});
}

bool MemorySectorSource::read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * kSectorSize;
  if (buffer.size() < bytes) return false;
  if (bytes == 0) return true;
  if (firstSector >= m_bytes.size() / kSectorSize + (m_bytes.size() % kSectorSize != 0 ? 1 : 0)) return false;
  const std::uint64_t offset = firstSector * kSectorSize;
  const std::size_t available = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, m_bytes.size() - offset));
  std::memcpy(buffer.data(), m_bytes.data() + offset, available);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(available), buffer.begin() + static_cast<std::ptrdiff_t>(bytes),
            std::byte{0});
  return true;
}

}  // namespace dravel::storage
