#include "FatDirectoryScan.h"

#include <algorithm>
#include <span>
#include <vector>

#include "FatDirectoryEntry.h"
#include "common/Text.h"

namespace dravel::basic::fat {

namespace {

constexpr std::uint32_t kDirectoryAttributes = 16;

void addOrphanRow(results::FolderTable& table) {
  results::FolderRow row;
  row.name = results::kOrphanFolderName;
  row.self = results::kOrphanFolderId;
  row.parent = results::kFatRootId;
  row.time = results::currentFatTimeWord();
  row.attr = kDirectoryAttributes;
  table.add(std::move(row));
}

// A row for the cluster whose first sector is `sector`, when that sector
// begins a directory whose "." entry names `cluster`.
void addIfDirectory(ByteView sector, std::uint64_t sectorNumber, std::uint64_t cluster, const FatVolume& volume,
                    results::FolderTable& table) {
  if (!beginsWithDotEntries(sector)) return;
  const auto dot = decodeEntry(*sector.sub(0, kEntrySize), volume.fat32);
  const auto dotDot = decodeEntry(*sector.sub(kEntrySize, kEntrySize), volume.fat32);
  if (dot->firstCluster != cluster) return;
  results::FolderRow row;
  row.name = strprintf("DIR%llu", static_cast<unsigned long long>(table.rowCount()));
  row.sector = sectorNumber;
  row.self = dot->firstCluster;
  // 0 names the root; a FAT32 ".." that names the root cluster itself means the same.
  row.parent = volume.fat32 && dotDot->firstCluster == volume.rootCluster() ? results::kFatRootId
                                                                             : dotDot->firstCluster;
  row.date = dot->date;
  row.time = dot->time;
  row.size = dot->size;
  row.attr = dot->attributes;
  table.add(std::move(row));
}

// The first sector of each cluster that begins inside the block that was read.
void inspectBlock(ByteView block, std::uint64_t blockStart, const FatVolume& volume, results::FolderTable& table) {
  const std::uint64_t spc = volume.record.spc;
  const std::uint64_t dataStart = volume.dataStart();
  const std::uint64_t blockSectors = block.size() / kSectorSize;
  for (std::uint64_t index = (blockStart - dataStart + spc - 1) / spc;; ++index) {
    const std::uint64_t sector = dataStart + index * spc;
    if (sector - blockStart >= blockSectors) break;
    const auto first = block.sub(static_cast<std::size_t>(sector - blockStart) * kSectorSize, kSectorSize);
    addIfDirectory(*first, sector, index + kFirstDataCluster, volume, table);
  }
}

}  // namespace

bool scanDirectoryClusters(storage::SectorSource& source, const FatVolume& volume, ScanControl& control,
                           ScanProgress& progress, results::FolderTable& table) {
  addOrphanRow(table);
  const std::uint64_t start = volume.dataStart();
  const std::uint64_t end = volume.endSector;
  progress.stage(ScanStage::Scanning);
  progress.total(end, start, end);
  if (volume.record.spc == 0) return false;
  std::vector<std::byte> block(static_cast<std::size_t>(kScanBlockSectors) * kSectorSize);
  for (std::uint64_t blockStart = start; blockStart < end; blockStart += kScanBlockSectors) {
    progress.position(blockStart, blockStart);
    // The partition's end bounds the last block: what lies beyond belongs to another.
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(kScanBlockSectors, end - blockStart));
    const std::span<std::byte> bytes = std::span(block).first(static_cast<std::size_t>(count) * kSectorSize);
    if (source.read(blockStart, count, bytes)) inspectBlock(ByteView(bytes), blockStart, volume, table);
    control.blockDone();
    if (control.stopRequested()) return true;
  }
  return false;
}

}  // namespace dravel::basic::fat
