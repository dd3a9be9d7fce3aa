#pragma once
// One listing of the drives for a search window's drive tree. It runs on a
// worker thread (it reads every disk's tables) and hands the window a finished
// snapshot; the window never waits on a device.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "partitions/DiskTable.h"
#include "storage/Enumeration.h"
#include "storage/MemoryDriveTree.h"

namespace dravel::platform {
class DeviceNamespace;
}

namespace dravel::app {

struct DriveListingResult {
  storage::MemoryDriveTree tree;
  std::unordered_map<storage::TreeItem, storage::DriveRecord> records;  // disk and volume items
  partitions::DiskTable table;
  storage::EnumerationState state;
  std::vector<std::string> problems;  // what the device layer could not use

  [[nodiscard]] bool empty() const;
  [[nodiscard]] const storage::PhysicalDriveRecord* disk(int number) const;
};

// Looks at the devices again (when `rescan`) and lists them. Safe to call off
// the user-interface thread: it touches no widget and no shared state.
[[nodiscard]] std::shared_ptr<DriveListingResult> listDrivesNow(const std::shared_ptr<platform::DeviceNamespace>& devices,
                                                                const std::string& modeName, bool rescan);

}  // namespace dravel::app
