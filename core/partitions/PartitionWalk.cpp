#include "PartitionWalk.h"

#include <optional>
#include <set>

#include "FileSystemRecognition.h"
#include "common/Text.h"
#include "ondisk/PartitionTableLayout.h"
#include "ondisk/Sector.h"

namespace dravel::partitions {

using namespace dravel::ondisk;

namespace {

using storage::readSector;

BootMark markAt(storage::SectorSource& source, std::uint64_t sector) {
  const auto buffer = readSector(source, sector);
  return buffer ? recogniseBootSector(ByteView(*buffer)) : BootMark::None;
}

// The name a partition without a boot mark gets from its type byte.
std::string nameFromType(std::uint8_t type, bool logical) {
  switch (type) {
    case 0x04:
    case 0x06:
    case 0x0E:
      return "FAT16";
    case 0x01:
      return logical ? "FAT16" : std::string{};
    case 0x0B:
    case 0x0C:
      return "FAT32";
    case 0x07:
      return "NTFS";
    default:
      return {};
  }
}

// Records the partition and appends its item; false when the table is full.
bool recordPartition(const PartitionWalkTarget& t, DiskTable& table, const std::string& name, std::uint64_t first,
                     std::uint64_t end) {
  const auto index = table.record(t.diskNumber, name, first, end);
  if (!index) return false;
  if (t.tree != nullptr && t.diskItem != storage::kNoItem &&
      !containsText(t.tree->itemText(t.diskItem), "Partition")) {
    table.setItem(t.diskNumber, *index, t.tree->addPartition(t.diskItem, partitionItemText(*index, name)));
  }
  return true;
}

void walkExtended(const PartitionWalkTarget& t, std::uint64_t extendedFirst, DiskTable& table) {
  std::set<std::uint64_t> visited;
  std::uint64_t link = 0;
  for (int hop = 0; hop < kMaxExtendedRecords; ++hop) {
    const std::uint64_t ebrSector = extendedFirst + link;
    if (ebrSector >= t.diskTotalSectors || !visited.insert(ebrSector).second) return;
    const auto ebr = readSector(t.source, ebrSector);
    if (!ebr) return;
    std::optional<std::uint64_t> next;
    for (std::size_t i = 0; i < 2; ++i) {
      const auto entry = parseMbrEntry(ByteView(*ebr), i);
      if (!entry || entry->type == 0) continue;
      if (entry->type == kTypeExtendedChs || entry->type == kTypeExtendedLba) {
        next = entry->firstSector;
        continue;
      }
      const std::uint64_t first = ebrSector + entry->firstSector;
      if (first >= t.diskTotalSectors) continue;  // nothing of it is on the disk
      std::string name = bootMarkName(markAt(t.source, first));
      if (name.empty()) name = nameFromType(entry->type, true);
      if (name.empty()) continue;
      if (!recordPartition(t, table, name, first, first + entry->sectorCount)) return;
    }
    if (!next) return;
    link = *next;
  }
}

}  // namespace

std::string partitionItemText(int index, const std::string& fileSystemName) {
  return strprintf("Partition - %d ( %s )", index + 1, fileSystemName.c_str());
}

int walkPartitions(const PartitionWalkTarget& t, DiskTable& table) {
  const DiskEntry* disk = table.disk(t.diskNumber);
  if (disk == nullptr) return 0;
  const int before = disk->partitionCount;
  const auto mbr = readSector(t.source, 0);
  if (!mbr || (mbr->at(510) != std::byte{0x55} && mbr->at(511) != std::byte{0xAA})) return 0;
  std::optional<std::uint64_t> extendedFirst;
  for (std::size_t i = 0; i < kMbrEntryCount; ++i) {
    const auto entry = parseMbrEntry(ByteView(*mbr), i);
    if (!entry || entry->type == 0) continue;
    const std::uint64_t first = entry->firstSector;
    if (first >= t.diskTotalSectors || t.diskTotalSectors - first < kMinimumTailSectors) {
      return disk->partitionCount - before;  // the whole walk ends, extended part included
    }
    const BootMark mark = markAt(t.source, first);
    if (mark == BootMark::GptHeader) {
      walkGpt(t, 2, table);
      break;
    }
    std::string name = bootMarkName(mark);
    if (name.empty()) {
      if (entry->type == kTypeExtendedChs || entry->type == kTypeExtendedLba) {
        extendedFirst = first;  // the last one seen counts
        continue;
      }
      name = nameFromType(entry->type, false);
      if (name.empty()) continue;
    }
    if (!recordPartition(t, table, name, first, first + entry->sectorCount)) return disk->partitionCount - before;
  }
  if (extendedFirst) walkExtended(t, *extendedFirst, table);
  return disk->partitionCount - before;
}

int walkGpt(const PartitionWalkTarget& t, std::uint64_t firstEntrySector, DiskTable& table) {
  const DiskEntry* disk = table.disk(t.diskNumber);
  if (disk == nullptr) return 0;
  const int before = disk->partitionCount;
  for (std::uint64_t sector = firstEntrySector; sector <= kGptLastEntrySector; ++sector) {
    const auto entries = readSector(t.source, sector);
    if (!entries) return disk->partitionCount - before;
    for (std::size_t i = 0; i < kSectorSize / kGptEntrySize; ++i) {
      const auto entry = parseGptEntry(*ByteView(*entries).sub(i * kGptEntrySize, kGptEntrySize));
      if (!entry) continue;
      if (entry->type == gpt_type::microsoftReserved()) continue;
      if (entry->lastLba == 0) return disk->partitionCount - before;
      if (entry->lastLba < entry->firstLba || entry->lastLba == UINT64_MAX) continue;
      const std::string name = bootMarkName(markAt(t.source, entry->firstLba));
      if (name.empty()) continue;
      // Stored one past the last sector, as every other partition is.
      if (!recordPartition(t, table, name, entry->firstLba, entry->lastLba + 1)) return disk->partitionCount - before;
    }
  }
  return disk->partitionCount - before;
}

}  // namespace dravel::partitions
