#pragma once
// The rows of the information list beside the drive tree. Their order and
// labels are fixed: the scan start reads values back by row number, and the
// labels keep their exact blanks.

#include <cstdint>
#include <string>
#include <vector>

#include "DriveRecord.h"

namespace dravel::storage {

struct InfoRow {
  std::string label;
  std::string value;
};

// 13 rows: model, media type, interface, capacity, geometry, revision, serial, system, device id.
[[nodiscard]] std::vector<InfoRow> physicalDiskPanel(const PhysicalDriveRecord& disk);

// 9 rows: start and end sector, partition type, volume, label, size, free space, mode, serial.
[[nodiscard]] std::vector<InfoRow> logicalDrivePanel(const LogicalDriveRecord& volume);

// 7 rows for partition `partitionIndex` (0-based) of disk `diskNumber`;
// `partitionType` is the partition item's text.
[[nodiscard]] std::vector<InfoRow> partitionPanel(const std::string& partitionType, int partitionIndex, int diskNumber,
                                                  const std::string& modeName, std::uint64_t firstSector,
                                                  std::uint64_t endSector);

}  // namespace dravel::storage
