// The input is a partition from its boot sector on; the parameters are
// computed for each file system the tree can name. Hostile boot sectors must
// yield a refusal, never an out-of-bounds read or an overflow.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "partitions/PartitionParameters.h"
#include "storage/SectorSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravel;
  if (size < 8) return 0;
  // The first 8 bytes choose the partition's length; the rest is its content.
  std::uint64_t end = 0;
  std::memcpy(&end, data, sizeof end);
  std::vector<std::byte> bytes(size - 8);
  if (!bytes.empty()) std::memcpy(bytes.data(), data + 8, bytes.size());
  storage::MemorySectorSource source(bytes);
  for (const char* fs : {"FAT16", "FAT32", "NTFS"}) {
    (void)partitions::calculatePartitionParameters(source, fs, {0, end});
  }
  return 0;
}
