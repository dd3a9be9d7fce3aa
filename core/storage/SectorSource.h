#pragma once
// Where an engine's sectors come from: a device path through the sector
// reader, or bytes in memory (tests and fuzzers feed engines this way).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BlockReader.h"
#include "ondisk/Sector.h"

namespace dravel::storage {

class SectorSource {
 public:
  virtual ~SectorSource() = default;
  // Same contract as readSectors: false on failure, zeros past the end.
  [[nodiscard]] virtual bool read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) = 0;
};

// One sector, or nullopt when it cannot be read.
[[nodiscard]] std::optional<SectorBuffer> readSector(SectorSource& source, std::uint64_t sector);

class DeviceSectorSource final : public SectorSource {
 public:
  explicit DeviceSectorSource(std::string devicePath) : m_path(std::move(devicePath)) {}
  [[nodiscard]] bool read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) override;
  [[nodiscard]] const std::string& devicePath() const { return m_path; }

 private:
  std::string m_path;
};

// One read-only descriptor kept open for a whole scan or listing: engines
// that read thousands of times do not pay an open per read.
class OpenDeviceSource final : public SectorSource {
 public:
  // nullopt when the path is unknown or the device does not open.
  static std::optional<OpenDeviceSource> open(const std::string& devicePath);
  [[nodiscard]] bool read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) override;

 private:
  explicit OpenDeviceSource(BlockReader reader) : m_reader(std::move(reader)) {}
  BlockReader m_reader;
};

class MemorySectorSource final : public SectorSource {
 public:
  explicit MemorySectorSource(std::vector<std::byte> bytes) : m_bytes(std::move(bytes)) {}
  [[nodiscard]] bool read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) override;
  [[nodiscard]] std::vector<std::byte>& bytes() { return m_bytes; }

 private:
  std::vector<std::byte> m_bytes;
};

}  // namespace dravel::storage
