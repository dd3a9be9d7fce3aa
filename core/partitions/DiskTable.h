#pragma once
// The partitions recorded for each disk by the partition walk and the
// partition search. Fixed limits: 26 disks, 26 named partitions per disk.
// Nothing is ever written past them; a full disk refuses further partitions.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "storage/DriveTreeSink.h"

namespace dravel::partitions {

inline constexpr int kDiskTableDisks = 26;
inline constexpr int kNamedPartitions = 26;
inline constexpr int kPartitionEntries = 50;

struct PartitionEntry {
  storage::TreeItem item = storage::kNoItem;
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;  // one past the last sector
  int index = 0;                // 0-based
};

struct DiskEntry {
  int partitionCount = 0;
  std::array<std::string, kNamedPartitions> fileSystemNames;  // "FAT16", "FAT32" or "NTFS"
  std::array<PartitionEntry, kPartitionEntries> entries;
  storage::TreeItem firstPartitionItem = storage::kNoItem;
};

class DiskTable {
 public:
  // Counters 0, texts empty, entries zero: at the start of every drive listing.
  void reset();

  // nullptr for a disk number outside 0..25.
  [[nodiscard]] DiskEntry* disk(int number);
  [[nodiscard]] const DiskEntry* disk(int number) const;

  // Appends a partition and returns its index, or nullopt when the disk
  // number is out of range or the disk is full.
  std::optional<int> record(int diskNumber, const std::string& fileSystemName, std::uint64_t firstSector,
                            std::uint64_t endSector);
  void setItem(int diskNumber, int index, storage::TreeItem item);

  // True when the disk has a partition with these sectors and name.
  [[nodiscard]] bool contains(int diskNumber, std::uint64_t firstSector, std::uint64_t endSector,
                              const std::string& fileSystemName) const;

 private:
  std::array<DiskEntry, kDiskTableDisks> m_disks{};
};

}  // namespace dravel::partitions
