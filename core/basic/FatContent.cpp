#include "FatContent.h"

#include <algorithm>
#include <optional>

#include "ContentCopy.h"
#include "common/ByteView.h"

namespace dravel::basic::fat {

namespace {

// FAT sectors read per request while a chain is followed: a long file's
// chain runs through many consecutive FAT sectors.
constexpr std::uint32_t kFatBlockSectors = 64;
// A chain longer than this shows the gathering line while it is followed.
constexpr std::uint64_t kGatheringClusters = 4096;

// One FAT (first or second) read in blocks, the last block kept.
class FatTable {
 public:
  FatTable(const FatVolume& volume, storage::SectorSource& source, std::uint64_t start)
      : m_volume(volume), m_source(source), m_start(start), m_block(std::size_t{kFatBlockSectors} * kSectorSize) {}

  // The entry of `cluster`, or nullopt when its FAT sector is past the FAT
  // or cannot be read.
  [[nodiscard]] std::optional<std::uint32_t> entry(std::uint64_t cluster) {
    const std::uint32_t perSector = m_volume.fat32 ? kFat32EntriesPerSector : kFat16EntriesPerSector;
    const std::uint64_t sector = cluster / perSector;
    if (sector >= m_volume.record.spf) return std::nullopt;
    const bool cached = m_loadedFirst && sector >= *m_loadedFirst && sector - *m_loadedFirst < m_loadedCount;
    if (!cached && !load(sector)) return std::nullopt;
    const ByteView view(std::span<const std::byte>(m_block.data(), std::size_t{m_loadedCount} * kSectorSize));
    const std::size_t offset = static_cast<std::size_t>(sector - *m_loadedFirst) * kSectorSize +
                               static_cast<std::size_t>(cluster % perSector) * (m_volume.fat32 ? 4 : 2);
    if (m_volume.fat32) return view.u32le(offset);
    const auto value = view.u16le(offset);
    if (!value) return std::nullopt;
    return std::uint32_t{*value};
  }

 private:
  // The aligned block holding `sector`; when it cannot be read, the sector
  // alone (a bad FAT sector elsewhere in the block must not end the chain).
  bool load(std::uint64_t sector) {
    m_loadedFirst.reset();
    const std::uint64_t first = sector / kFatBlockSectors * kFatBlockSectors;
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(kFatBlockSectors, m_volume.record.spf - first));
    if (m_source.read(m_start + first, count, std::span<std::byte>(m_block.data(), std::size_t{count} * kSectorSize))) {
      m_loadedFirst = first;
      m_loadedCount = count;
      return true;
    }
    if (!m_source.read(m_start + sector, 1, std::span<std::byte>(m_block.data(), kSectorSize))) return false;
    m_loadedFirst = sector;
    m_loadedCount = 1;
    return true;
  }

  const FatVolume& m_volume;
  storage::SectorSource& m_source;
  std::uint64_t m_start;
  std::vector<std::byte> m_block;
  std::optional<std::uint64_t> m_loadedFirst;  // FAT sector offsets
  std::uint32_t m_loadedCount = 0;
};

void appendCluster(std::vector<ClusterRun>& runs, std::uint64_t cluster) {
  if (!runs.empty() && runs.back().first + runs.back().count == cluster) {
    ++runs.back().count;
  } else {
    runs.push_back({cluster, 1});
  }
}

// The chain from `first` in the FAT at `fatStart` when it holds exactly
// `needed` clusters. It ends at a free entry, an end-of-chain mark, a bad
// cluster mark, or any value that is not a cluster of the partition.
std::optional<std::vector<ClusterRun>> exactChain(const FatVolume& volume, storage::SectorSource& source,
                                                  std::uint64_t fatStart, std::uint64_t first, std::uint64_t needed,
                                                  const std::atomic<bool>* stop) {
  if (fatStart == 0 || !volume.clusterSector(first)) return std::nullopt;
  FatTable fat(volume, source, fatStart);
  std::vector<ClusterRun> runs;
  std::uint64_t cluster = first;
  // Bounded by needed + 1 clusters: a chain that loops never ends by itself.
  for (std::uint64_t collected = 1;; ++collected) {
    appendCluster(runs, cluster);
    if (collected > needed) return std::nullopt;
    if (stop != nullptr && collected % 4096 == 0 && stop->load(std::memory_order_relaxed)) return std::nullopt;
    const auto next = fat.entry(cluster);
    if (!next || !volume.clusterSector(*next)) return collected == needed ? std::optional(runs) : std::nullopt;
    cluster = *next;
  }
}

}  // namespace

FileClusters fileClusters(const FatVolume& volume, storage::SectorSource& source, std::uint64_t first,
                          std::uint64_t needed, const std::atomic<bool>* stop) {
  if (auto chain = exactChain(volume, source, volume.record.firstFat, first, needed, stop)) {
    return {ClusterSource::FirstFat, std::move(*chain)};
  }
  if (volume.record.secondFat != volume.record.firstFat) {
    if (auto chain = exactChain(volume, source, volume.record.secondFat, first, needed, stop)) {
      return {ClusterSource::SecondFat, std::move(*chain)};
    }
  }
  return {ClusterSource::Consecutive, {{first, needed}}};
}

namespace {

// A run as sectors of the partition. Clusters that are not clusters of the
// partition (a first cluster below 2, or past its end) hold nothing of the
// file that could be read: zeros.
bool copyRun(const FatVolume& volume, ContentCopier& copier, const ClusterRun& run) {
  const std::uint64_t spc = volume.record.spc;
  const std::uint64_t endValid = kFirstDataCluster + volume.clusterCount();
  const std::uint64_t valid =
      run.first < kFirstDataCluster || run.first >= endValid ? 0 : std::min(run.count, endValid - run.first);
  if (valid > 0 && !copier.sectors(*volume.clusterSector(run.first), valid * spc)) return false;
  if (valid == run.count) return true;
  const std::uint64_t clusterBytes = spc * kSectorSize;
  const std::uint64_t rest = run.count - valid;
  return copier.zeros(rest > UINT64_MAX / clusterBytes ? UINT64_MAX : rest * clusterBytes, true);
}

}  // namespace

results::WriteResult writeFatFile(const FatVolume& volume, storage::SectorSource& source,
                                  const results::ContentRow& row, results::ContentOutput& out,
                                  const results::WriteControl& control) {
  // An empty file has no clusters; its first cluster is usually 0.
  if (row.size == 0 || volume.record.spc == 0) return {};
  const std::uint64_t clusterBytes = std::uint64_t{volume.record.spc} * kSectorSize;
  const std::uint64_t needed = (row.size + clusterBytes - 1) / clusterBytes;
  const bool longChain = needed > kGatheringClusters && control.gathering;
  if (longChain) control.gathering(true);
  const FileClusters clusters = fileClusters(volume, source, row.debugSelf, needed, control.abort);
  if (longChain) control.gathering(false);
  ContentCopier copier(source, out, control, row.size, {volume.firstSector, volume.endSector, volume.record.spc});
  for (const ClusterRun& run : clusters.runs) {
    if (!copyRun(volume, copier, run)) break;
  }
  return copier.finish();
}

}  // namespace dravel::basic::fat
