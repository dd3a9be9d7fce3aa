#pragma once
// FAT and NTFS boot sector fields, decoded from one 512-byte sector. The
// decoders only read; whether the values make a usable volume is for the
// caller to judge (a damaged disk must still be describable).

#include <cstdint>
#include <optional>
#include <string>

#include "common/ByteView.h"

namespace dravel::ondisk {

// Where the file-system type texts sit; these are also the recognition marks.
inline constexpr std::size_t kFat32TypeOffset = 0x52;  // "FAT32   "
inline constexpr std::size_t kFat16TypeOffset = 0x36;  // "FAT16   " (also "FAT12", "FAT     ")
inline constexpr std::size_t kNtfsOemOffset = 0x03;    // "NTFS    "

struct FatBootSector {
  std::uint16_t bytesPerSector = 0;     // 0x0B
  std::uint8_t sectorsPerCluster = 0;   // 0x0D
  std::uint16_t reservedSectors = 0;    // 0x0E
  std::uint8_t fatCount = 0;            // 0x10
  std::uint16_t rootEntries = 0;        // 0x11
  std::uint16_t totalSectors16 = 0;     // 0x13
  std::uint8_t media = 0;               // 0x15
  std::uint16_t sectorsPerFat16 = 0;    // 0x16
  std::uint32_t hiddenSectors = 0;      // 0x1C
  std::uint32_t totalSectors32 = 0;     // 0x20
  // FAT32 extension
  std::uint32_t sectorsPerFat32 = 0;    // 0x24
  std::uint32_t rootCluster = 0;        // 0x2C
  std::uint16_t fsInfoSector = 0;       // 0x30
  std::uint16_t backupBootSector = 0;   // 0x32
  // Extended boot record: at 0x26.. on FAT12/16, 0x42.. on FAT32
  bool isFat32Layout = false;           // "FAT32" at 0x52
  std::uint8_t extendedSignature = 0;   // 0x26 or 0x42: 0x28/0x29 when the fields below are valid
  std::uint32_t volumeId = 0;           // 0x27 or 0x43
  std::string volumeLabel;              // 0x2B or 0x47, 11 bytes as stored
  std::string fileSystemType;           // 0x36 or 0x52, 8 bytes as stored

  [[nodiscard]] std::uint32_t totalSectors() const {
    return totalSectors16 != 0 ? totalSectors16 : totalSectors32;
  }
  [[nodiscard]] std::uint32_t sectorsPerFat() const {
    return sectorsPerFat16 != 0 ? sectorsPerFat16 : sectorsPerFat32;
  }
};

// nullopt only when the view is shorter than a sector.
[[nodiscard]] std::optional<FatBootSector> parseFatBootSector(ByteView sector);

struct NtfsBootSector {
  std::uint16_t bytesPerSector = 0;       // 0x0B
  std::uint8_t sectorsPerCluster = 0;     // 0x0D
  std::uint64_t totalSectors = 0;         // 0x28
  std::uint64_t mftCluster = 0;           // 0x30
  std::uint64_t mftMirrorCluster = 0;     // 0x38
  std::int8_t clustersPerFileRecord = 0;  // 0x40: negative n means 2^-n bytes
  std::int8_t clustersPerIndexBlock = 0;  // 0x44: the same rule
  std::uint64_t serialNumber = 0;         // 0x48
};

[[nodiscard]] std::optional<NtfsBootSector> parseNtfsBootSector(ByteView sector);

// Sectors per cluster from the boot sector's byte: 1..128 as they stand;
// above 128 the byte is a negative shift (cluster sizes beyond 64 KiB).
// 0 when the byte is unusable.
[[nodiscard]] std::uint32_t ntfsSectorsPerCluster(std::uint8_t raw);

// Sectors of a file record or index block from its signed byte: n < 0 means
// 2^-n bytes, n > 0 means n clusters. 0 when the value is unusable.
[[nodiscard]] std::uint32_t ntfsUnitSectors(std::int8_t value, std::uint32_t sectorsPerCluster);

}  // namespace dravel::ondisk
