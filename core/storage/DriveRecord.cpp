#include "DriveRecord.h"

#include "platform/DevicePath.h"

namespace dravel::storage {

std::string PhysicalDriveRecord::devicePath() const { return platform::physicalDrivePath(diskNumber); }

std::string LogicalDriveRecord::devicePath() const {
  return letterColon.empty() ? std::string{} : platform::volumePath(letterColon[0]);
}

std::string LogicalDriveRecord::rootPath() const { return letterColon + "\\"; }

}  // namespace dravel::storage
