#pragma once
// Reads a disk's partition tables (MBR, the extended chain, GPT), recognises
// each partition's file system by its first sector, records it in the disk
// table and appends its item under the disk's tree item.
//
// The walk trusts nothing: a table that points past the disk ends the walk,
// an extended chain stops where it loops back or leaves the disk, and a full
// disk table ends it too.

#include <cstdint>

#include "DiskTable.h"
#include "storage/DriveTreeSink.h"
#include "storage/SectorSource.h"

namespace dravel::partitions {

// Partitions that start in the last 0x6000 sectors of a disk are not taken.
inline constexpr std::uint64_t kMinimumTailSectors = 0x6000;
inline constexpr int kMaxExtendedRecords = 64;
inline constexpr std::uint64_t kGptLastEntrySector = 33;

struct PartitionWalkTarget {
  storage::SectorSource& source;   // the whole disk
  int diskNumber = 0;
  std::uint64_t diskTotalSectors = 0;
  storage::DriveTreeSink* tree = nullptr;  // may be null: record only
  storage::TreeItem diskItem = storage::kNoItem;
};

// "Partition - 3 ( FAT32 )".
[[nodiscard]] std::string partitionItemText(int index, const std::string& fileSystemName);

// Returns the number of partitions recorded.
int walkPartitions(const PartitionWalkTarget& target, DiskTable& table);

// The GPT entries from sector `firstEntrySector` to sector 33.
int walkGpt(const PartitionWalkTarget& target, std::uint64_t firstEntrySector, DiskTable& table);

}  // namespace dravel::partitions
