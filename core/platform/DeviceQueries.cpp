#include "DeviceQueries.h"

#include <sys/statvfs.h>

#include "DevicePath.h"
#include "MountTable.h"
#include "ondisk/Sector.h"

namespace dravel::platform {

bool DeviceQueries::diskExists(int diskNumber) const { return m_devices->disk(diskNumber).has_value(); }

std::optional<DiskGeometry> DeviceQueries::geometry(int diskNumber) const {
  const auto disk = m_devices->disk(diskNumber);
  if (!disk || disk->sizeBytes == 0 || disk->logicalBlockSize == 0) return std::nullopt;
  DiskGeometry g;
  g.bytesPerSector = disk->logicalBlockSize;
  g.tracksPerCylinder = kUsbTracksPerCylinder;
  g.sectorsPerTrack = kUsbSectorsPerTrack;
  g.cylinders = disk->sizeBytes / disk->logicalBlockSize / (kUsbTracksPerCylinder * kUsbSectorsPerTrack);
  g.mediaType = disk->removable ? kMediaRemovable : kMediaFixed;
  return g;
}

std::optional<BusType> DeviceQueries::adapterBusType(int diskNumber) const {
  const auto disk = m_devices->disk(diskNumber);
  if (!disk) return std::nullopt;
  return disk->bus;
}

std::optional<DeviceStrings> DeviceQueries::deviceStrings(int diskNumber) const {
  const auto disk = m_devices->disk(diskNumber);
  if (!disk) return std::nullopt;
  return DeviceStrings{disk->vendor, disk->product, disk->revision, disk->serial};
}

std::optional<std::vector<LayoutEntry>> DeviceQueries::driveLayout(int diskNumber) const {
  const auto table = m_devices->partitionTable(diskNumber);
  if (!table) return std::nullopt;
  std::vector<LayoutEntry> out;
  for (const auto& p : table->partitions) {
    LayoutEntry e;
    e.isGpt = p.gptType.has_value();
    e.mbrType = p.mbrType;
    if (p.gptType) e.gptType = *p.gptType;
    out.push_back(e);
  }
  return out;
}

std::uint32_t DeviceQueries::logicalDriveMask() const {
  std::uint32_t mask = 0;
  for (const auto& v : m_devices->volumes()) mask |= 1u << (v.letter - 'A');
  return mask;
}

DriveType DeviceQueries::driveType(char letter) const {
  const auto v = m_devices->volume(letter);
  if (!v) return DriveType::NoRootDir;
  return v->removable ? DriveType::Removable : DriveType::Fixed;
}

std::optional<VolumeProbe> DeviceQueries::probe(char letter) const {
  const auto handle = DeviceHandle::open(volumePath(letter), *m_devices);
  if (!handle) return std::nullopt;
  return probeVolume(*handle);
}

std::optional<VolumeInformation> DeviceQueries::volumeInformation(char letter) const {
  const auto p = probe(letter);
  if (!p) return std::nullopt;
  return VolumeInformation{p->label, p->serialNumber, p->fileSystemName};
}

std::optional<VolumeSpace> DeviceQueries::volumeSpace(char letter) const {
  const auto v = m_devices->volume(letter);
  if (!v) return std::nullopt;
  if (const auto mountPoint = findMountPoint(m_devices->options().mountInfo, v->devNumbers)) {
    struct statvfs st {};
    if (::statvfs(mountPoint->c_str(), &st) == 0) {
      return VolumeSpace{static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize,
                         static_cast<std::uint64_t>(st.f_bfree) * st.f_frsize};
    }
  }
  const auto p = probe(letter);
  if (!p) return std::nullopt;
  return p->space;
}

std::vector<VolumeExtent> DeviceQueries::volumeExtents(char letter) const {
  const auto v = m_devices->volume(letter);
  if (!v) return {};
  return {VolumeExtent{v->diskNumber, v->firstSector * kSectorSize, v->sectorCount * kSectorSize}};
}

}  // namespace dravel::platform
