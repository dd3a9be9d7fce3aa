#pragma once
// The content of a FAT file: which clusters hold it (the chain in the first
// FAT, else in the second, else consecutive clusters from the first, as a
// deleted file's cleared chain leaves it), and the copy of those clusters
// cut at the file's size.

#include <atomic>
#include <cstdint>
#include <vector>

#include "FatVolume.h"
#include "results/ContentRow.h"
#include "results/RecoveredResult.h"
#include "storage/SectorSource.h"

namespace dravel::basic::fat {

struct ClusterRun {
  std::uint64_t first = 0;
  std::uint64_t count = 0;
};

enum class ClusterSource { FirstFat, SecondFat, Consecutive };

struct FileClusters {
  ClusterSource from = ClusterSource::Consecutive;
  std::vector<ClusterRun> runs;  // consecutive clusters joined
};

// The clusters of a file that starts at `first` and needs `needed`
// clusters: a FAT's chain counts only when it holds exactly `needed`
// clusters (a longer one, or one that loops, is given up after `needed` + 1).
// `stop` ends a long walk early (the result is then not to be used).
[[nodiscard]] FileClusters fileClusters(const FatVolume& volume, storage::SectorSource& source, std::uint64_t first,
                                        std::uint64_t needed, const std::atomic<bool>* stop = nullptr);

// Writes the content of a file row (first cluster in `debugSelf`, size in
// `size`); a size of 0 writes nothing.
[[nodiscard]] results::WriteResult writeFatFile(const FatVolume& volume, storage::SectorSource& source,
                                                const results::ContentRow& row, results::ContentOutput& out,
                                                const results::WriteControl& control);

}  // namespace dravel::basic::fat
