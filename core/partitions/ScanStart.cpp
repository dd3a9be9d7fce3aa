#include "ScanStart.h"

#include <algorithm>

#include "FileSystemRecognition.h"
#include "common/Text.h"

namespace dravel::partitions {
namespace {

const storage::PhysicalDriveRecord* listedDisk(const storage::EnumerationState* listing, int number) {
  if (listing == nullptr || number < 0) return nullptr;
  const auto found = std::find_if(listing->disks.begin(), listing->disks.end(),
                                  [number](const auto& disk) { return disk.diskNumber == number; });
  return found != listing->disks.end() ? &*found : nullptr;
}

// "Partition - 1 ( FAT32 )" → "FAT32"
std::string nameInParentheses(std::string_view itemText) {
  const auto open = itemText.find('(');
  const auto close = itemText.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close <= open) return {};
  return normaliseFileSystemName(itemText.substr(open + 1, close - open - 1));
}

std::string wholeDiskFileSystem(const ScanStartInput& input, std::uint64_t end) {
  if (input.diskPartitionItems.size() == 1) return nameInParentheses(input.diskPartitionItems.front());
  if (!trim(input.treeFileSystemName).empty()) return normaliseFileSystemName(input.treeFileSystemName);
  return guessFileSystemBySize(kWholeDiskFirstSector, end);
}

void takeCurrentDisk(SelectionRecord& record, const storage::PhysicalDriveRecord& disk) {
  record.diskIndex = static_cast<std::uint16_t>(disk.diskNumber);
  record.devicePath = disk.devicePath();
  record.diskSizeMiB = disk.sizeMiB;
  record.diskTotalSectors = disk.totalSectors;
  record.currentDiskModel = disk.model;
  record.currentDiskDescriptor = trim(storage::physicalDescriptor(disk));
}

}  // namespace

std::string panelValue(const std::vector<storage::InfoRow>& panel, std::size_t row) {
  return row < panel.size() ? trim(panel[row].value) : std::string();
}

std::uint64_t panelNumber(const std::vector<storage::InfoRow>& panel, std::size_t row) {
  return parseUnsigned(panelValue(panel, row)).value_or(0);
}

Expected<ScanStart, ScanStartRefusal> selectionAtScanStart(const ScanStartInput& input) {
  ScanStart start;
  auto& record = start.record;
  record.driveKind = input.driveKind;
  record.fileSystemName = normaliseFileSystemName(panelValue(input.panel, panel_row::kPartitionType));

  int diskNumber = -1;
  const std::string_view kind = input.driveKind;
  if (kind == drive_kind::kLogical) {
    if (!input.volume) return Unexpected{ScanStartRefusal::DeviceGone};
    diskNumber = input.volume->diskNumber;
    record.logicalDevicePath = input.volume->devicePath();
    record.firstSector = input.volume->diskFirstSector;
    record.endSector = input.volume->diskEndSector;
    record.dynamicDisk = input.volume->dynamicDisk;
    if (record.dynamicDisk) start.startNote = std::string(kDynamicDiskNote);
  } else if (kind == drive_kind::kHardDisk) {
    diskNumber = input.selectedDiskNumber;
    record.firstSector = kWholeDiskFirstSector;
    record.endSector = panelNumber(input.panel, panel_row::kDiskSectors);
  } else {
    const auto number = parseUnsigned(panelValue(input.panel, panel_row::kDiskNumber));
    diskNumber = number && *number < 1000 ? static_cast<int>(*number) : -1;
    record.firstSector = panelNumber(input.panel, panel_row::kPartitionStart);
    record.endSector = panelNumber(input.panel, panel_row::kPartitionEnd);
  }

  const auto* disk = listedDisk(input.listing, diskNumber);
  if (disk == nullptr) return Unexpected{ScanStartRefusal::DeviceGone};
  takeCurrentDisk(record, *disk);
  if (kind == drive_kind::kHardDisk) {
    record.endSector = std::max(record.endSector, disk->mediumEndSector());
    record.fileSystemName = wholeDiskFileSystem(input, record.endSector);
  }
  // Nothing past the medium's last sector can be read.
  if (disk->mediumEndSector() != 0) record.endSector = std::min(record.endSector, disk->mediumEndSector());

  if (record.endSector == 0 || record.endSector <= record.firstSector)
    return Unexpected{ScanStartRefusal::EndSectorNotAfterStart};
  const auto& fs = record.fileSystemName;
  if (input.requireSupportedFileSystem && fs != "NTFS" && fs != "FAT16" && fs != "FAT32")
    return Unexpected{ScanStartRefusal::UnsupportedFileSystem};

  record.modeName = storage::recoveryModeName(input.mode);
  record.firstSectorCopy = record.firstSector;
  record.endSectorCopy = record.endSector;
  record.endByteOffset = record.endSector * 512;
  return start;
}

}  // namespace dravel::partitions
