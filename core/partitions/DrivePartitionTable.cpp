#include "DrivePartitionTable.h"

#include <algorithm>

namespace dravel::partitions {

std::vector<DrivePartitionRow> drivePartitionRows(const DiskTable& table, const std::string& drive, int diskNumber,
                                                  std::uint64_t diskTotalSectors) {
  std::vector<DrivePartitionRow> rows;
  const DiskEntry* disk = table.disk(diskNumber);
  if (disk == nullptr) return rows;
  for (int i = 0; i < disk->partitionCount; ++i) {
    const PartitionEntry& e = disk->entries[static_cast<std::size_t>(i)];
    rows.push_back(DrivePartitionRow{drive, i + 1, e.firstSector, std::min(e.endSector, diskTotalSectors),
                                     e.firstSector, diskTotalSectors});
  }
  return rows;
}

}  // namespace dravel::partitions
