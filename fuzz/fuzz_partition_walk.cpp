// The input is the start of a disk. Both table readers run over it: the
// recovery tree's walk and the system's own view; neither may read out of
// bounds, loop or crash, whatever the tables say.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "partitions/DiskTable.h"
#include "partitions/PartitionWalk.h"
#include "platform/SystemPartitionTable.h"
#include "storage/MemoryDriveTree.h"
#include "storage/SectorSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravel;
  std::vector<std::byte> bytes(size);
  if (size != 0) std::memcpy(bytes.data(), data, size);
  storage::MemorySectorSource source(bytes);
  // A large disk: table entries may point anywhere, reads past the input fail.
  constexpr std::uint64_t kTotalSectors = 1ull << 24;
  storage::MemoryDriveTree tree;
  storage::PhysicalDriveRecord disk;
  disk.itemText = "Removable Media (Disk0 - 8.00 GB)";
  const auto item = tree.addDisk(disk);
  partitions::DiskTable table;
  partitions::walkPartitions({source, 0, kTotalSectors, &tree, item}, table);

  const platform::SectorReadFn read = [&](std::uint64_t lba, SectorBuffer& out) {
    return source.read(lba, 1, out);
  };
  (void)platform::readSystemPartitionTable(read, kTotalSectors);
  return 0;
}
