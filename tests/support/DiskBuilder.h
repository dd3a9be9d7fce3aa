#pragma once
// Builds small disks in memory, byte by byte: partition tables, FAT and NTFS
// boot sectors, GPT headers and entries. Each test makes exactly the
// structure whose handling it checks.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ondisk/PartitionTableLayout.h"
#include "storage/SectorSource.h"

namespace dravel::test {

struct FatLayout {
  std::uint16_t reserved = 4;
  std::uint32_t sectorsPerFat = 32;
  std::uint8_t sectorsPerCluster = 4;
  std::uint16_t rootEntries = 512;  // FAT16 only
  std::uint32_t totalSectors = 0;   // 0: the builder leaves it 0
  std::uint32_t rootCluster = 2;    // FAT32 only
  std::string label = "NO NAME";
  std::uint32_t volumeId = 0x12345678;
  bool writeFatMedia = true;        // put 0xF8 at the start of both FATs
};

struct NtfsLayout {
  std::uint8_t sectorsPerCluster = 8;
  std::uint64_t totalSectors = 0;
  std::uint64_t mftCluster = 4;
  std::uint64_t mftMirrorCluster = 16;
  std::int8_t clustersPerRecord = -10;  // 1024 bytes
  std::int8_t clustersPerIndex = 1;
  std::uint64_t serial = 0x1122334455667788ull;
  bool writeMftRecords = true;      // "FILE" at the MFT and its mirror
};

class DiskBuilder {
 public:
  explicit DiskBuilder(std::uint64_t sectors);

  [[nodiscard]] std::vector<std::byte>& bytes() { return m_bytes; }
  [[nodiscard]] std::uint64_t sectors() const { return m_bytes.size() / 512; }

  void put8(std::uint64_t offset, std::uint8_t value);
  void put16(std::uint64_t offset, std::uint16_t value);
  void put32(std::uint64_t offset, std::uint32_t value);
  void put64(std::uint64_t offset, std::uint64_t value);
  void putText(std::uint64_t offset, std::string_view text);
  void zeroSector(std::uint64_t sector);

  // 0x55 0xAA at the end of the sector.
  void signature(std::uint64_t sector);
  // Entry `index` of the MBR or EBR at `tableSector`; also writes the signature.
  void mbrEntry(std::uint64_t tableSector, int index, std::uint8_t type, std::uint32_t first, std::uint32_t count);

  // Boot sectors at `sector` (with the FATs' media bytes or MFT records the layout asks for).
  void fat16(std::uint64_t sector, const FatLayout& layout);
  void fat32(std::uint64_t sector, const FatLayout& layout, bool withBackup = true);
  void ntfs(std::uint64_t sector, const NtfsLayout& layout, bool withBackup = true);

  // A protective MBR, the GPT header at sector 1 and entries from sector 2.
  void gptProtective();
  void gptEntry(int index, const ondisk::Guid& type, std::uint64_t firstLba, std::uint64_t lastLba);

  [[nodiscard]] storage::MemorySectorSource source() const { return storage::MemorySectorSource(m_bytes); }
  void writeTo(const std::filesystem::path& file) const;

 private:
  void fatCommon(std::uint64_t sector, const FatLayout& layout);
  std::vector<std::byte> m_bytes;
};

}  // namespace dravel::test
