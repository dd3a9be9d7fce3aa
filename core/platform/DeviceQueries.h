#pragma once
// The device and volume queries that the enumeration asks, answered on Linux
// from the device namespace, sysfs, the volumes' own boot sectors and the
// mount table. Each answer is what the corresponding platform query would
// report; a query that fails answers nullopt.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DeviceNamespace.h"
#include "VolumeProbe.h"

namespace dravel::platform {

inline constexpr std::uint32_t kMediaRemovable = 11;
inline constexpr std::uint32_t kMediaFixed = 12;
inline constexpr std::uint32_t kUsbTracksPerCylinder = 255;
inline constexpr std::uint32_t kUsbSectorsPerTrack = 63;

struct DiskGeometry {
  std::uint64_t cylinders = 0;
  std::uint32_t mediaType = 0;  // kMediaRemovable or kMediaFixed
  std::uint32_t tracksPerCylinder = 0;
  std::uint32_t sectorsPerTrack = 0;
  std::uint32_t bytesPerSector = 0;
};

struct DeviceStrings {
  std::string vendor, product, revision, serial;
};

enum class DriveType : std::uint32_t { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3 };

struct VolumeInformation {
  std::string label;
  std::uint32_t serialNumber = 0;
  std::string fileSystemName;  // empty when the volume holds no known file system
};

struct VolumeExtent {
  int diskNumber = -1;
  std::uint64_t startingOffset = 0;  // bytes on the disk
  std::uint64_t length = 0;          // bytes
};

struct LayoutEntry {
  bool isGpt = false;
  std::uint8_t mbrType = 0;
  ondisk::Guid gptType;
};

class DeviceQueries {
 public:
  explicit DeviceQueries(std::shared_ptr<const DeviceNamespace> devices) : m_devices(std::move(devices)) {}

  // Whether a disk with this number exists (the open for queries).
  [[nodiscard]] bool diskExists(int diskNumber) const;
  // Fails for a disk without a medium (an empty card slot) or an image that did not open.
  [[nodiscard]] std::optional<DiskGeometry> geometry(int diskNumber) const;
  [[nodiscard]] std::optional<BusType> adapterBusType(int diskNumber) const;
  [[nodiscard]] std::optional<DeviceStrings> deviceStrings(int diskNumber) const;
  [[nodiscard]] std::optional<std::vector<LayoutEntry>> driveLayout(int diskNumber) const;

  // Bit n set when drive letter 'A' + n exists.
  [[nodiscard]] std::uint32_t logicalDriveMask() const;
  [[nodiscard]] DriveType driveType(char letter) const;
  [[nodiscard]] std::optional<VolumeInformation> volumeInformation(char letter) const;
  [[nodiscard]] std::optional<VolumeSpace> volumeSpace(char letter) const;
  [[nodiscard]] std::vector<VolumeExtent> volumeExtents(char letter) const;
  // Linux has no floppy drives behind drive letters.
  [[nodiscard]] bool isFloppy(char /*letter*/) const { return false; }

  [[nodiscard]] const DeviceNamespace& devices() const { return *m_devices; }

 private:
  [[nodiscard]] std::optional<VolumeProbe> probe(char letter) const;
  std::shared_ptr<const DeviceNamespace> m_devices;
};

}  // namespace dravel::platform
