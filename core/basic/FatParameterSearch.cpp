#include "FatParameterSearch.h"

#include <bit>

#include "FatDirectoryEntry.h"
#include "FatVolume.h"

namespace dravel::basic::fat {

namespace {

// The first FAT begins within this many sectors of the partition's start
// (FAT16: a sector or a few; FAT32: 32 by custom).
constexpr std::uint64_t kFat16ReservedProbe = 10;
constexpr std::uint64_t kFat32ReservedProbe = 30;
constexpr std::uint32_t kFat16DefaultReserved = 1;
constexpr std::uint32_t kFat32DefaultReserved = 32;
constexpr std::uint32_t kFat16RootSectors = 32;  // 512 entries
constexpr std::uint64_t kMaxSectorsPerCluster = 128;
constexpr std::uint8_t kFatMediaByte = 0xF8;
constexpr std::uint32_t kNoCluster = 0xFFFFFFFF;

// A sector that begins a directory cluster, and the cluster its "." entry names.
struct Witness {
  std::uint64_t sector = 0;
  std::uint64_t cluster = 0;
};

// The offset of the last probed sector that begins like a FAT (0xF8 0xFF).
std::uint32_t reservedSectors(storage::SectorSource& source, bool fat32, partitions::PartitionRange range) {
  const std::uint64_t probe = fat32 ? kFat32ReservedProbe : kFat16ReservedProbe;
  std::uint32_t reserved = fat32 ? kFat32DefaultReserved : kFat16DefaultReserved;
  for (std::uint32_t i = 0; i < probe && range.firstSector + i < range.endSector; ++i) {
    const auto sector = storage::readSector(source, range.firstSector + i);
    if (!sector) continue;
    const ByteView view(*sector);
    if (view.u8(0) == kFatMediaByte && view.u8(1) == 0xFF) reserved = i;
  }
  return reserved;
}

// The geometry two witnesses agree on, or nullopt when they do not fit one
// volume. `later` lies after `first` on the disk.
std::optional<partitions::PartitionRecord> fromWitnesses(const Witness& first, const Witness& later, bool fat32,
                                                         std::uint64_t firstSector, std::uint32_t reserved) {
  // A later cluster at a lower number gives no cluster size.
  if (later.cluster <= first.cluster) return std::nullopt;
  const std::uint64_t clusters = later.cluster - first.cluster;
  const std::uint64_t sectors = later.sector - first.sector;
  if (sectors % clusters != 0) return std::nullopt;
  const std::uint64_t spc = sectors / clusters;
  if (!std::has_single_bit(spc) || spc > kMaxSectorsPerCluster) return std::nullopt;
  // Both witnesses give the same cluster 0 once the cluster size fits them.
  if (first.cluster * spc > first.sector) return std::nullopt;
  const std::uint64_t cluster0 = first.sector - first.cluster * spc;
  // What lies between the reserved sectors and cluster 2: two FATs, and on
  // FAT16 the root area. A FAT of no sectors is no volume.
  const std::uint64_t dataStart = cluster0 + 2 * spc;
  if (dataStart < firstSector + reserved) return std::nullopt;
  const std::uint64_t between = dataStart - firstSector - reserved;
  const std::uint64_t rootArea = fat32 ? 0 : kFat16RootSectors;
  if (between < rootArea) return std::nullopt;
  const std::uint64_t spf = (between - rootArea) / 2;
  if (spf == 0 || spf > UINT32_MAX) return std::nullopt;

  partitions::PartitionRecord r;
  r.spc = static_cast<std::uint32_t>(spc);
  r.spf = static_cast<std::uint32_t>(spf);
  r.reserveSecStart = reserved;
  r.cluster0Start = cluster0;
  r.firstFat = firstSector + reserved;
  r.secondFat = r.firstFat + spf;
  r.rootSec = fat32 ? 0 : kFat16RootSectors;
  r.rootStartSec = fat32 ? kFirstDataCluster : r.secondFat + spf;
  return r;
}

// The witness a sector gives, when it begins a directory cluster.
std::optional<Witness> witnessAt(storage::SectorSource& source, std::uint64_t sector, bool fat32) {
  const auto buffer = storage::readSector(source, sector);
  if (!buffer) return std::nullopt;
  const ByteView view(*buffer);
  if (!beginsWithDotEntries(view)) return std::nullopt;
  return Witness{sector, *firstClusterOf(*view.sub(0, kEntrySize), fat32)};
}

}  // namespace

ParameterSearchResult searchPartitionParameters(storage::SectorSource& source, bool fat32,
                                                partitions::PartitionRange range, ScanControl& control,
                                                ScanProgress& progress) {
  progress.stage(ScanStage::CalculatingParams);
  const std::uint32_t reserved = reservedSectors(source, fat32, range);
  progress.total(range.endSector, range.firstSector, range.endSector);
  std::optional<Witness> first;
  for (std::uint64_t sector = range.firstSector; sector < range.endSector; ++sector) {
    if (control.stopRequested()) return {std::nullopt, true};
    progress.position(sector, sector);
    const auto witness = witnessAt(source, sector, fat32);
    if (!witness) continue;
    // The first witness stays; a later one that does not fit it is dropped.
    if (!first) {
      if (witness->cluster >= kFirstDataCluster && witness->cluster != kNoCluster) first = witness;
      continue;
    }
    if (auto record = fromWitnesses(*first, *witness, fat32, range.firstSector, reserved)) return {record, false};
  }
  return {};
}

}  // namespace dravel::basic::fat
