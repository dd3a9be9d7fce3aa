#pragma once
// The rows a Deep Search start stages for the partitions of its disk: each
// partition's range bounded by the disk, with the disk's end beside it.

#include <cstdint>
#include <string>
#include <vector>

#include "DiskTable.h"

namespace dravel::partitions {

struct DrivePartitionRow {
  std::string drive;               // Drive: the drive text given by the caller
  int part = 0;                    // Part: partition index + 1
  std::uint64_t startSector = 0;   // St_Sec
  std::uint64_t endSector = 0;     // End_Sec: the smaller of the partition's end and the disk's end
  std::uint64_t cluster0 = 0;      // Clus0: the partition's first sector
  std::uint64_t driveEndSector = 0;  // Drive_E_Sec: the disk's total sectors
};

// One row per recorded partition of `diskNumber`, in table order.
[[nodiscard]] std::vector<DrivePartitionRow> drivePartitionRows(const DiskTable& table, const std::string& drive,
                                                                int diskNumber, std::uint64_t diskTotalSectors);

}  // namespace dravel::partitions
