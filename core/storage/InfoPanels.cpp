#include "InfoPanels.h"

#include "SizeText.h"
#include "common/Text.h"

namespace dravel::storage {

std::vector<InfoRow> physicalDiskPanel(const PhysicalDriveRecord& d) {
  return {
      {"1. Model :", d.model},
      {"2. MediaType :", d.mediaClass},
      {"3. Interface Type :", d.busName},
      {"4. Capacity(size) :", d.sizeText},
      {"5. Cylinders :", std::to_string(d.cylinders)},
      {"6. Heads :", std::to_string(d.tracksPerCylinder)},
      {"7. Sectors :", std::to_string(d.totalSectors)},
      {"8. Bytes per Sector :", std::to_string(d.bytesPerSector)},
      {"9. Sector per Track :", std::to_string(d.sectorsPerTrack)},
      {"10. Firmware Revision ID :", d.revision},
      {"11. Serial Number :", d.serial},
      {"12. System Name :", d.computerName},
      {"13. Physical Device ID :", d.devicePathUpper},
  };
}

std::vector<InfoRow> logicalDrivePanel(const LogicalDriveRecord& v) {
  return {
      {"1. Start Sector :", "0"},
      {"2. End Sector : ", std::to_string(v.totalSectors)},
      {"3. Partition Type : ", v.fileSystemName},
      {"4. Volume : ", v.letterColon},
      {"5. Label : ", v.label},
      {"6. Size : ", v.sizeText},
      {"7. Free Space : ", v.freeText},
      {"8. Search Mode : ", v.modeName},
      {"9. Serial Number : ", v.serialHex},
  };
}

std::vector<InfoRow> partitionPanel(const std::string& partitionType, int partitionIndex, int diskNumber,
                                    const std::string& modeName, std::uint64_t firstSector, std::uint64_t endSector) {
  const std::uint64_t sectors = endSector > firstSector ? endSector - firstSector : 0;
  const std::uint64_t bytes = sectors > UINT64_MAX / 512 ? UINT64_MAX : sectors * 512;
  return {
      {"1. Disk Number : ", std::to_string(diskNumber)},
      {"2. Partition Number : ", std::to_string(partitionIndex + 1)},
      {"3. Partition Type : ", partitionType},
      {"4. Search Mode : ", modeName},
      {"5. Start Sector : ", std::to_string(firstSector)},
      {"6. End Sector : ", std::to_string(endSector)},
      {"7. Size : ", trim(formatSize(bytes))},
  };
}

}  // namespace dravel::storage
