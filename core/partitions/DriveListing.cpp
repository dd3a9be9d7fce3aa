#include "DriveListing.h"

#include "PartitionWalk.h"
#include "storage/SectorSource.h"

namespace dravel::partitions {

void listDrives(const platform::DeviceQueries& queries, storage::DriveTreeSink* tree, const std::string& modeName,
                DiskTable& table, storage::EnumerationState& state) {
  table.reset();
  state = storage::EnumerationState{};
  storage::PhysicalEnumerationOptions options;
  options.refresh = true;
  options.modeName = modeName;
  options.onDiskListed = [&](const storage::PhysicalDriveRecord& disk, storage::TreeItem item) {
    storage::DeviceSectorSource source(disk.devicePath());
    return walkPartitions(PartitionWalkTarget{source, disk.diskNumber, disk.totalSectors, tree, item}, table);
  };
  storage::enumeratePhysicalDisks(queries, tree, options, state);
  storage::enumerateLogicalDrives(queries, tree, "ALL", modeName, state);
}

}  // namespace dravel::partitions
