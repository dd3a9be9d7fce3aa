#pragma once
// Resolves the system's device paths to Linux block devices and attached
// image files, and numbers the disks and letters the volumes the way the
// enumeration expects: disk numbers 0..24, stable for the same devices and
// options (block devices in name order, then images in the order given),
// volume letters from C: in disk and partition order.
//
// Scans replace an immutable snapshot, so a scan thread that resolves a path
// while the drive tree is refreshed sees one consistent view.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceOptions.h"
#include "Devices.h"
#include "SystemPartitionTable.h"

namespace dravel::platform {

inline constexpr char kFirstVolumeLetter = 'C';  // A: and B: belong to floppy drives

class DeviceNamespace {
 public:
  explicit DeviceNamespace(DeviceOptions options = {});

  // Looks at sysfs and the images again.
  void rescan();

  [[nodiscard]] std::vector<DiskDevice> disks() const;
  [[nodiscard]] std::optional<DiskDevice> disk(int number) const;
  [[nodiscard]] std::vector<VolumeDevice> volumes() const;
  [[nodiscard]] std::optional<VolumeDevice> volume(char letter) const;
  // The disk's partition table as read at the last scan.
  [[nodiscard]] std::optional<SystemPartitionTable> partitionTable(int diskNumber) const;
  [[nodiscard]] std::optional<DeviceTarget> resolve(std::string_view devicePath) const;
  // What could not be used at the last scan (an image that does not open, disks beyond 25).
  [[nodiscard]] std::vector<std::string> problems() const;
  [[nodiscard]] const DeviceOptions& options() const { return m_options; }

 private:
  struct Snapshot;
  [[nodiscard]] std::shared_ptr<const Snapshot> snapshot() const;

  DeviceOptions m_options;
  mutable std::mutex m_mutex;
  std::shared_ptr<const Snapshot> m_snapshot;
};

// The process-wide namespace that device paths are resolved in. Front ends
// install one built from their options at start; until then the machine's
// devices without images are used.
[[nodiscard]] std::shared_ptr<DeviceNamespace> currentDevices();
void setCurrentDevices(std::shared_ptr<DeviceNamespace> devices);

}  // namespace dravel::platform
