#pragma once
// What the enumeration and the partition walk need of the drive tree: append
// items and read their texts. The desktop program's tree implements it; the
// command line and the tests record the items.

#include <cstdint>
#include <string>

#include "DriveRecord.h"

namespace dravel::storage {

// Opaque handle of a tree item; 0 is no item.
using TreeItem = std::uint64_t;
inline constexpr TreeItem kNoItem = 0;

class DriveTreeSink {
 public:
  virtual ~DriveTreeSink() = default;
  // A disk item, appended under "Physical Drives".
  virtual TreeItem addDisk(const PhysicalDriveRecord& record) = 0;
  // A volume item, appended under "Logical Drives".
  virtual TreeItem addLogicalDrive(const LogicalDriveRecord& record) = 0;
  // A partition item appended under `parent`; the tree expands the parent
  // and makes the new item visible.
  virtual TreeItem addPartition(TreeItem parent, const std::string& text) = 0;
  [[nodiscard]] virtual std::string itemText(TreeItem item) const = 0;
  [[nodiscard]] virtual int childCount(TreeItem item) const = 0;
};

}  // namespace dravel::storage
