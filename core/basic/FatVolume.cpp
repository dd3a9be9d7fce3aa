#include "FatVolume.h"

#include <unordered_set>

#include "common/ByteView.h"

namespace dravel::basic::fat {

std::optional<std::uint64_t> FatVolume::clusterSector(std::uint64_t cluster) const {
  if (cluster < kFirstDataCluster || cluster - kFirstDataCluster >= clusterCount()) return std::nullopt;
  return record.cluster0Start + cluster * record.spc;
}

std::uint64_t FatVolume::clusterCount() const {
  const std::uint64_t spc = record.spc;
  if (spc == 0 || record.cluster0Start > endSector || endSector - record.cluster0Start <= 2 * spc) return 0;
  // Clusters whose first sector lies in [dataStart, endSector).
  const std::uint64_t dataSectors = endSector - record.cluster0Start - 2 * spc;
  return (dataSectors + spc - 1) / spc;
}

std::optional<std::uint32_t> ClusterChainWalker::successor(std::uint32_t cluster) {
  const std::uint32_t perSector = m_volume.fat32 ? kFat32EntriesPerSector : kFat16EntriesPerSector;
  const std::uint64_t fatOffset = cluster / perSector;
  // An offset of SPF is already past the first FAT.
  if (m_volume.record.firstFat == 0 || fatOffset >= m_volume.record.spf) return std::nullopt;
  const std::uint64_t sector = m_volume.record.firstFat + fatOffset;
  if (m_cachedSector != sector) {
    m_cachedSector.reset();
    if (!m_source.read(sector, 1, m_cache)) return std::nullopt;
    m_cachedSector = sector;
  }
  const ByteView fat(m_cache);
  const std::size_t index = cluster % perSector;
  if (m_volume.fat32) {
    // The whole 32-bit value: set top bits make the entry end the chain.
    const std::uint32_t next = *fat.u32le(index * 4);
    if (next < kFirstDataCluster || next > kFat32LastChained) return std::nullopt;
    return next;
  }
  const std::uint32_t next = *fat.u16le(index * 2);
  if (next < kFirstDataCluster || next > kFat16LastChained) return std::nullopt;
  return next;
}

std::vector<std::uint32_t> ClusterChainWalker::chain(std::uint64_t first, const std::atomic<bool>& populationStop) {
  std::vector<std::uint32_t> clusters;
  if (first > UINT32_MAX || !m_volume.clusterSector(first)) return clusters;
  std::unordered_set<std::uint32_t> seen;
  auto cluster = static_cast<std::uint32_t>(first);
  const std::uint64_t limit = m_volume.clusterCount();
  for (;;) {
    clusters.push_back(cluster);
    seen.insert(cluster);
    if (populationStop.load() || clusters.size() >= limit) break;
    const auto next = successor(cluster);
    if (!next || !m_volume.clusterSector(*next) || seen.contains(*next)) break;
    cluster = *next;
  }
  return clusters;
}

namespace {

void appendRange(std::vector<std::uint64_t>& sectors, std::uint64_t from, std::uint64_t count, std::uint64_t end) {
  for (std::uint64_t s = from; s < end && s - from < count; ++s) sectors.push_back(s);
}

}  // namespace

std::vector<std::uint64_t> directorySectors(const FatVolume& volume, storage::SectorSource& source,
                                            std::uint32_t folderId, const std::atomic<bool>& populationStop) {
  std::vector<std::uint64_t> sectors;
  if (folderId == 0 && !volume.fat32) {
    appendRange(sectors, volume.record.rootStartSec, volume.record.rootSec, volume.endSector);
    return sectors;
  }
  const std::uint64_t first = folderId == 0 ? volume.rootCluster() : folderId;
  ClusterChainWalker walker(volume, source);
  for (const std::uint32_t cluster : walker.chain(first, populationStop)) {
    appendRange(sectors, *volume.clusterSector(cluster), volume.record.spc, volume.endSector);
  }
  return sectors;
}

}  // namespace dravel::basic::fat
