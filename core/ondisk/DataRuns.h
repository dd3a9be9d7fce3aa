#pragma once
// The data runs (mapping pairs) of a non-resident NTFS attribute: which
// clusters of the volume hold the attribute's value, in order.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/ByteView.h"

namespace dravel::ondisk {

struct DataRun {
  // Absolute cluster of the run's first cluster (cluster 0 = the volume's
  // first sector); may be negative on a damaged record. Empty for a sparse
  // run, which has no clusters on the disk.
  std::optional<std::int64_t> startCluster;
  std::uint64_t clusterCount = 0;
};

// A 1024-byte record holds far fewer runs than this; the cap bounds any
// buffer handed in.
inline constexpr std::size_t kMaxDataRuns = 4096;

// Decodes mapping pairs up to the terminating 0 header. Each header's low
// nibble is the size of the length field, its high nibble the size of the
// offset field; the offset is signed and relative to the previous run's
// start. The list ends early, keeping the runs before it, at a field size
// over 8, a missing length field, a field running past `pairs`, a start
// cluster that overflows, or after kMaxDataRuns runs.
[[nodiscard]] std::vector<DataRun> decodeDataRuns(ByteView pairs);

// The runs of a non-resident attribute given whole (header included): the
// mapping pairs begin at the offset stored at +32 and end with the attribute.
[[nodiscard]] std::vector<DataRun> attributeDataRuns(ByteView attribute);

}  // namespace dravel::ondisk
