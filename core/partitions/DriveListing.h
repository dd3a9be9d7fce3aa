#pragma once
// One drive listing: the disk table and every list start afresh, the
// physical disks are enumerated (each listed disk's partitions walked under
// its item), then the logical drives.

#include <string>

#include "DiskTable.h"
#include "storage/Enumeration.h"

namespace dravel::partitions {

void listDrives(const platform::DeviceQueries& queries, storage::DriveTreeSink* tree, const std::string& modeName,
                DiskTable& table, storage::EnumerationState& state);

}  // namespace dravel::partitions
