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

std::optional<OpenDeviceSource> OpenDeviceSource::open(const std::string& devicePath) {
  auto reader = BlockReader::open(devicePath);
  if (!reader) return std::nullopt;
  return OpenDeviceSource(std::move(*reader));
}

bool OpenDeviceSource::read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * kSectorSize;
  if (buffer.size() < bytes) return false;
  if (bytes == 0) return true;
  const auto r = m_reader.read(firstSector, buffer.first(static_cast<std::size_t>(bytes)));
  if (r.error != 0 || r.bytes == 0) return false;
  // Past the end of the device: zeros, as the sector reader does.
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(r.bytes), buffer.begin() + static_cast<std::ptrdiff_t>(bytes),
            std::byte{0});
  return true;
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
