#include "SystemPartitionTable.h"

#include <bit>
#include <set>

#include "ondisk/BootSector.h"

namespace dravel::platform {

using namespace dravel::ondisk;

namespace {

void addClamped(SystemPartitionTable& table, SystemPartition p, std::uint64_t diskSectors) {
  if (p.firstSector >= diskSectors || p.sectorCount == 0) return;
  p.sectorCount = std::min(p.sectorCount, diskSectors - p.firstSector);
  table.partitions.push_back(p);
}

void readExtendedChain(const SectorReadFn& read, std::uint64_t extendedFirst, std::uint64_t diskSectors,
                       SystemPartitionTable& table) {
  std::set<std::uint64_t> visited;
  std::uint64_t ebr = extendedFirst;
  int number = 5;
  for (int hop = 0; hop < kMaxExtendedHops; ++hop) {
    if (ebr >= diskSectors || !visited.insert(ebr).second) return;
    SectorBuffer sector{};
    if (!read(ebr, sector) || !hasBootSignature(ByteView(sector))) return;
    std::optional<std::uint64_t> next;
    for (std::size_t i = 0; i < 2; ++i) {
      const auto entry = parseMbrEntry(ByteView(sector), i);
      if (!entry || entry->type == 0 || entry->sectorCount == 0) continue;
      if (isExtendedType(entry->type)) {
        if (!next) next = extendedFirst + entry->firstSector;
        continue;
      }
      SystemPartition p;
      p.number = number++;
      p.firstSector = ebr + entry->firstSector;
      p.sectorCount = entry->sectorCount;
      p.mbrType = entry->type;
      addClamped(table, p, diskSectors);
    }
    if (!next) return;
    ebr = *next;
  }
}

bool readGpt(const SectorReadFn& read, std::uint64_t diskSectors, SystemPartitionTable& table) {
  SectorBuffer sector{};
  if (!read(1, sector)) return false;
  const auto header = parseGptHeader(ByteView(sector));
  if (!header || header->entriesLba >= diskSectors) return false;
  table.style = SystemPartitionTable::Style::Gpt;
  const std::uint32_t count = std::min(header->entryCount, kMaxGptEntries);
  std::vector<std::byte> entries;
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * header->entrySize;
  const std::uint64_t sectors = (bytes + kSectorSize - 1) / kSectorSize;
  for (std::uint64_t s = 0; s < sectors; ++s) {
    if (!read(header->entriesLba + s, sector)) break;
    entries.insert(entries.end(), sector.begin(), sector.end());
  }
  const ByteView all(entries);
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto raw = all.sub(static_cast<std::size_t>(i) * header->entrySize, kGptEntrySize);
    if (!raw) break;
    const auto entry = parseGptEntry(*raw);
    if (!entry || entry->type.isZero() || entry->lastLba < entry->firstLba) continue;
    if (entry->type == gpt_type::ldmData()) table.dynamic = true;
    SystemPartition p;
    p.number = static_cast<int>(i) + 1;
    p.firstSector = entry->firstLba;
    p.sectorCount = entry->lastLba - entry->firstLba + 1;
    p.gptType = entry->type;
    addClamped(table, p, diskSectors);
  }
  return true;
}

}  // namespace

bool looksLikeVolumeBootSector(ByteView sector) {
  if (!hasBootSignature(sector)) return false;
  if (sector.matches(kNtfsOemOffset, "NTFS    ") || sector.matches(kNtfsOemOffset, "EXFAT   ")) return true;
  const bool fatText = sector.matches(kFat32TypeOffset, "FAT32") || sector.matches(kFat16TypeOffset, "FAT");
  if (!fatText) return false;
  const auto boot = parseFatBootSector(sector);
  return boot && std::has_single_bit(boot->sectorsPerCluster) && boot->reservedSectors != 0 &&
         (boot->fatCount == 1 || boot->fatCount == 2) && boot->bytesPerSector >= 512 &&
         std::has_single_bit(boot->bytesPerSector);
}

SystemPartitionTable readSystemPartitionTable(const SectorReadFn& read, std::uint64_t diskSectors) {
  SystemPartitionTable table;
  SectorBuffer mbr{};
  if (diskSectors == 0 || !read(0, mbr) || !hasBootSignature(ByteView(mbr))) return table;
  if (looksLikeVolumeBootSector(ByteView(mbr))) {
    table.style = SystemPartitionTable::Style::WholeDiskVolume;
    table.partitions.push_back(SystemPartition{0, 0, diskSectors, 0, std::nullopt, false});
    return table;
  }
  table.style = SystemPartitionTable::Style::Mbr;
  std::optional<std::uint64_t> extendedFirst;
  for (std::size_t i = 0; i < kMbrEntryCount; ++i) {
    const auto entry = parseMbrEntry(ByteView(mbr), i);
    if (!entry || entry->type == 0) continue;
    if (entry->type == kTypeGptProtective && readGpt(read, diskSectors, table)) return table;
    if (entry->type == kTypeDynamicDisk) table.dynamic = true;
    SystemPartition p;
    p.number = static_cast<int>(i) + 1;
    p.firstSector = entry->firstSector;
    p.sectorCount = entry->sectorCount;
    p.mbrType = entry->type;
    p.isContainer = isExtendedType(entry->type);
    if (p.isContainer && !extendedFirst) extendedFirst = p.firstSector;
    addClamped(table, p, diskSectors);
  }
  if (extendedFirst) readExtendedChain(read, *extendedFirst, diskSectors, table);
  return table;
}

bool isVolumeCandidate(const SystemPartition& p) {
  if (p.isContainer) return false;
  if (p.gptType) {
    return !(*p.gptType == gpt_type::microsoftReserved() || *p.gptType == gpt_type::ldmData() ||
             *p.gptType == gpt_type::ldmMetadata());
  }
  if (p.number == 0) return true;  // whole-disk volume
  return p.mbrType != 0 && p.mbrType != kTypeGptProtective && p.mbrType != kTypeDynamicDisk;
}

}  // namespace dravel::platform
