#pragma once
// The geometry of the FAT volume a Basic Search works on, and the walks
// over it that the scan, the tree building and the listings share: where a
// cluster lies, the chain of clusters a file or directory occupies, and the
// sectors of a directory in order.

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "ondisk/Sector.h"
#include "partitions/PartitionRecord.h"
#include "storage/SectorSource.h"

namespace dravel::basic::fat {

inline constexpr std::uint32_t kFirstDataCluster = 2;
inline constexpr std::uint32_t kFat16LastChained = 0xFFFE;
inline constexpr std::uint32_t kFat32LastChained = 0x0FFFFFFE;
inline constexpr std::uint32_t kFat16EntriesPerSector = kSectorSize / 2;
inline constexpr std::uint32_t kFat32EntriesPerSector = kSectorSize / 4;

struct FatVolume {
  partitions::PartitionRecord record;
  bool fat32 = false;
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;  // one past the last sector of the partition

  // The first sector of cluster c when c ≥ 2 and that sector lies before
  // the partition's end.
  [[nodiscard]] std::optional<std::uint64_t> clusterSector(std::uint64_t cluster) const;
  // How many clusters from 2 on begin inside the partition: the longest
  // chain a sound FAT can hold.
  [[nodiscard]] std::uint64_t clusterCount() const;
  // The sector the data area's cluster 2 begins at (where the scan starts).
  [[nodiscard]] std::uint64_t dataStart() const { return record.cluster0Start + 2ull * record.spc; }
  // FAT32: the root directory's first cluster; FAT16 has a fixed root area.
  [[nodiscard]] std::uint64_t rootCluster() const { return record.rootStartSec; }
};

// Walks cluster chains through the first FAT, one FAT sector read at a time;
// the last FAT sector read is kept, since a chain's successors usually sit
// in the same sector.
class ClusterChainWalker {
 public:
  ClusterChainWalker(const FatVolume& volume, storage::SectorSource& source) : m_volume(volume), m_source(source) {}

  // The clusters from `first` on. Ends at an end-of-chain or free value, a
  // cluster outside the partition, a cluster seen before (a chain that
  // loops), an unreadable FAT sector, or the population stop. Empty when
  // `first` itself lies outside the partition.
  [[nodiscard]] std::vector<std::uint32_t> chain(std::uint64_t first, const std::atomic<bool>& populationStop);

 private:
  [[nodiscard]] std::optional<std::uint32_t> successor(std::uint32_t cluster);

  const FatVolume& m_volume;
  storage::SectorSource& m_source;
  std::optional<std::uint64_t> m_cachedSector;
  SectorBuffer m_cache{};
};

// The sectors of a directory in reading order: for the root (`folderId` 0)
// the fixed root area on FAT16 or the root cluster's chain on FAT32;
// otherwise the chain from `folderId`. Only sectors inside the partition.
[[nodiscard]] std::vector<std::uint64_t> directorySectors(const FatVolume& volume, storage::SectorSource& source,
                                                          std::uint32_t folderId,
                                                          const std::atomic<bool>& populationStop);

}  // namespace dravel::basic::fat
