#include "DiskTable.h"

namespace dravel::partitions {

void DiskTable::reset() { m_disks = {}; }

DiskEntry* DiskTable::disk(int number) {
  if (number < 0 || number >= kDiskTableDisks) return nullptr;
  return &m_disks[static_cast<std::size_t>(number)];
}

const DiskEntry* DiskTable::disk(int number) const {
  if (number < 0 || number >= kDiskTableDisks) return nullptr;
  return &m_disks[static_cast<std::size_t>(number)];
}

std::optional<int> DiskTable::record(int diskNumber, const std::string& fileSystemName, std::uint64_t firstSector,
                                     std::uint64_t endSector) {
  DiskEntry* d = disk(diskNumber);
  if (d == nullptr || d->partitionCount >= kNamedPartitions) return std::nullopt;
  const int i = d->partitionCount;
  const auto slot = static_cast<std::size_t>(i);
  d->fileSystemNames[slot] = fileSystemName;
  d->entries[slot] = PartitionEntry{storage::kNoItem, firstSector, endSector, i};
  d->partitionCount = i + 1;
  return i;
}

void DiskTable::setItem(int diskNumber, int index, storage::TreeItem item) {
  DiskEntry* d = disk(diskNumber);
  if (d == nullptr || index < 0 || index >= d->partitionCount) return;
  d->entries[static_cast<std::size_t>(index)].item = item;
  if (index == 0) d->firstPartitionItem = item;
}

bool DiskTable::contains(int diskNumber, std::uint64_t firstSector, std::uint64_t endSector,
                         const std::string& fileSystemName) const {
  const DiskEntry* d = disk(diskNumber);
  if (d == nullptr) return false;
  for (int i = 0; i < d->partitionCount; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    const auto& e = d->entries[slot];
    if (e.firstSector == firstSector && e.endSector == endSector && d->fileSystemNames[slot] == fileSystemName) {
      return true;
    }
  }
  return false;
}

}  // namespace dravel::partitions
