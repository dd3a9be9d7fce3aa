#pragma once
// The partition parameters of a FAT16 or FAT32 volume whose boot sector
// gives none, derived from its data: two directory clusters whose "."
// entries name their own cluster numbers fix the cluster size and where
// cluster 0 would begin, and with the reserved sectors (found from the
// FAT's media bytes) the size of the FATs.

#include <cstdint>
#include <optional>

#include "ScanControl.h"
#include "partitions/PartitionParameters.h"
#include "partitions/PartitionRecord.h"
#include "storage/SectorSource.h"

namespace dravel::basic::fat {

struct ParameterSearchResult {
  std::optional<partitions::PartitionRecord> record;  // nullopt: not found (or stopped)
  bool stopped = false;
};

// Reads one sector at a time from the first to the end sector, reporting
// each sector's number; a sector that cannot be read is passed over. Polls
// the stop once per sector.
[[nodiscard]] ParameterSearchResult searchPartitionParameters(storage::SectorSource& source, bool fat32,
                                                              partitions::PartitionRange range, ScanControl& control,
                                                              ScanProgress& progress);

}  // namespace dravel::basic::fat
