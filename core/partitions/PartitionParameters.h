#pragma once
// The partition record of a FAT16, FAT32 or NTFS partition, computed from its
// boot sector (or the backup boot sector when the first is damaged) and
// checked against the FAT or the MFT it points to.

#include <cstdint>
#include <string>

#include "PartitionRecord.h"
#include "common/Expected.h"
#include "storage/SectorSource.h"

namespace dravel::partitions {

inline constexpr std::uint64_t kFat32BackupBootOffset = 6;
inline constexpr std::uint8_t kFatMediaFixedDisk = 0xF8;

struct PartitionRange {
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;  // one past the last sector
};

struct ParamError {
  std::string reason;          // where and why, e.g. "sector 2048: no boot signature"
  bool noBootSector = false;   // neither the boot sector nor its backup is usable
};

// `fileSystemName` is "FAT16", "FAT32" or "NTFS" (normalised); anything else fails.
[[nodiscard]] Expected<PartitionRecord, ParamError> calculatePartitionParameters(storage::SectorSource& source,
                                                                                 const std::string& fileSystemName,
                                                                                 PartitionRange range);

}  // namespace dravel::partitions
