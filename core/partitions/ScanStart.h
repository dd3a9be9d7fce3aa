#pragma once
// Turns the drive-tree selection and the information list beside it into the
// one range a scan reads. A volume is always scanned over its area on its
// physical disk, never through the volume device.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PartitionRecord.h"
#include "common/Expected.h"
#include "storage/Enumeration.h"
#include "storage/InfoPanels.h"
#include "storage/RecoveryMode.h"

namespace dravel::partitions {

namespace drive_kind {
inline constexpr std::string_view kMyComputer = "My Computer";
inline constexpr std::string_view kPhysicalDrives = "Physical Drives";
inline constexpr std::string_view kLogicalDrives = "Logical Drives";
inline constexpr std::string_view kHardDisk = "Hard Disk";
inline constexpr std::string_view kLogical = "Logical";
inline constexpr std::string_view kPartition = "part";
inline constexpr std::string_view kRecognised = "Recognised";
}  // namespace drive_kind

// A whole disk is scanned from here, where the first partition of a classic
// table starts.
inline constexpr std::uint64_t kWholeDiskFirstSector = 63;

inline constexpr std::string_view kEndSectorMessage =
    "The value of ‘End Sector’ cannot be less than or equal to the ‘Start Sector’ of the Drive.";
inline constexpr std::string_view kDeviceGoneMessage = "The selected storage device is no longer available.";
// What Basic Search says of a file system it cannot walk.
inline constexpr std::string_view kBasicSearchAdvice =
    "Recovery is not possible in Basic Search Mode, use other search mode to recover your data.";
inline constexpr std::string_view kDynamicDiskNote = "This is a Dynamic disk. \r\n\r\n";

struct ScanStartInput {
  std::string driveKind;                  // one of drive_kind
  std::vector<storage::InfoRow> panel;    // the information list as shown
  int selectedDiskNumber = -1;            // "Hard Disk": the disk the tree selection remembered
  std::vector<std::string> diskPartitionItems;  // "Hard Disk": texts of the disk item's children
  std::string treeFileSystemName;         // "Hard Disk": a name the tree derived for the disk, may be empty
  std::optional<storage::LogicalDriveRecord> volume;  // "Logical": the selected drive's record
  const storage::EnumerationState* listing = nullptr;  // the drives listed with the tree
  storage::RecoveryMode mode = storage::RecoveryMode::Basic;
  // Basic Search can only walk these three; the other modes take any name.
  bool requireSupportedFileSystem = false;
};

enum class ScanStartRefusal {
  EndSectorNotAfterStart,  // kEndSectorMessage
  UnsupportedFileSystem,   // the Basic Search advice
  DeviceGone,              // kDeviceGoneMessage: the selected disk is not in the listing any more
};

struct ScanStart {
  SelectionRecord record;
  std::string startNote;  // kDynamicDiskNote for a volume on a dynamic disk, else empty
};

[[nodiscard]] Expected<ScanStart, ScanStartRefusal> selectionAtScanStart(const ScanStartInput& input);

// Rows of the information panels that the scan starts read back; their
// order is fixed by the panels.
namespace panel_row {
inline constexpr std::size_t kDiskNumber = 0;      // partition panel "1. Disk Number : "
inline constexpr std::size_t kPartitionType = 2;   // partition panel "3. Partition Type : "
inline constexpr std::size_t kPartitionStart = 4;  // partition panel "5. Start Sector : "
inline constexpr std::size_t kPartitionEnd = 5;    // partition panel "6. End Sector : "
inline constexpr std::size_t kDiskSectors = 6;     // disk panel "7. Sectors :"
}  // namespace panel_row

// The panel value of row `row`, trimmed; empty when the panel is shorter.
[[nodiscard]] std::string panelValue(const std::vector<storage::InfoRow>& panel, std::size_t row);
// The same read as a number; 0 when it is not one.
[[nodiscard]] std::uint64_t panelNumber(const std::vector<storage::InfoRow>& panel, std::size_t row);

}  // namespace dravel::partitions
