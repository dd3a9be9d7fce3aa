#include "Enumeration.h"

#include <array>

#include "SizeText.h"
#include "common/Text.h"
#include "ondisk/PartitionTableLayout.h"
#include "platform/DevicePath.h"
#include "platform/System.h"

namespace dravel::storage {

namespace {

constexpr std::array<const char*, 14> kBusNames = {
    "UNKNOWN", "SCSI", "ATAPI", "ATA", "IEEE 1394", "SSA", "FIBRE", "USB", "RAID", "iSCSI", "SAS", "SATA", "Reserved", ""};

std::string composeModel(const platform::DeviceStrings& strings, const std::string& busName) {
  std::string model = strings.product;
  if (!trimView(strings.vendor).empty()) model = strings.vendor + " " + strings.product;
  model = trim(model);
  // A bus without a name would leave a double blank before "Device".
  if (!busName.empty()) model += " " + busName;
  return trim(model + " Device");
}

PhysicalDriveRecord describeDisk(const platform::DeviceQueries& queries, int number,
                                 const platform::DiskGeometry& g, const std::string& modeName) {
  PhysicalDriveRecord r;
  const std::uint64_t sizeBytes =
      g.cylinders * g.tracksPerCylinder * g.sectorsPerTrack * static_cast<std::uint64_t>(g.bytesPerSector);
  const auto bus = queries.adapterBusType(number);
  r.busName = bus ? busTypeName(static_cast<std::uint32_t>(*bus)) : std::string{};
  if (bus) {
    if (const auto strings = queries.deviceStrings(number)) {
      r.model = composeModel(*strings, r.busName);
      r.revision = trim(strings->revision);
      r.vendorUpper = toUpperAscii(trim(strings->vendor));
      r.serial = trim(strings->serial);
    }
  }
  r.mediaClass = mediaClassText(g.mediaType, r.busName);
  r.sizeText = trim(formatSize(sizeBytes));
  r.itemText = r.mediaClass + " (Disk" + std::to_string(number) + " - " + r.sizeText + ")";
  r.modeName = modeName;
  r.diskNumber = diskNumberFromItemText(r.itemText);
  r.diskName = "Disk" + std::to_string(number);
  r.sizeAndClass = r.sizeText + " - " + r.mediaClass;
  r.cylinders = g.cylinders;
  r.tracksPerCylinder = g.tracksPerCylinder;
  r.sectorsPerTrack = g.sectorsPerTrack;
  r.bytesPerSector = g.bytesPerSector;
  r.totalSectors = sizeBytes / 512;
  r.sizeMiB = sizeBytes >> 20;
  r.computerName = platform::computerName();
  r.devicePathUpper = toUpperAscii(platform::physicalDrivePath(number));
  if (const auto disk = queries.devices().disk(number)) r.deviceSectors = disk->sizeBytes / 512;
  return r;
}

}  // namespace

std::string busTypeName(std::uint32_t busType) {
  return busType < kBusNames.size() ? kBusNames[busType] : "";
}

std::string mediaClassText(std::uint32_t mediaType, std::string_view busName) {
  if (mediaType == platform::kMediaRemovable) return "Removable Media";
  if (mediaType == platform::kMediaFixed) return busName == "USB" ? "External hard disk media" : "Fixed hard disk media";
  return {};
}

int diskNumberFromItemText(std::string_view text) {
  const auto open = text.find('(');
  if (open == std::string_view::npos || text.size() < open + 5) return -1;
  std::string_view rest = text.substr(open + 5);  // past "(" and "Disk"
  const auto dash = rest.find('-');
  if (dash != std::string_view::npos) rest = rest.substr(0, dash);
  const auto number = parseUnsigned(trimView(rest));
  if (!number || *number > 1000) return -1;
  return static_cast<int>(*number);
}

std::string physicalDescriptor(const PhysicalDriveRecord& disk) {
  return trim(disk.model + "||" + disk.sizeText + "||" + std::to_string(disk.totalSectors) + "||" +
              std::to_string(disk.diskNumber));
}

void enumeratePhysicalDisks(const platform::DeviceQueries& queries, DriveTreeSink* sink,
                            const PhysicalEnumerationOptions& options, EnumerationState& state) {
  state.physicalDescriptors.clear();
  for (int number = 0; number < platform::kMaxDiskNumbers; ++number) {
    if (!queries.diskExists(number)) continue;
    const auto geometry = queries.geometry(number);
    if (!geometry) continue;
    PhysicalDriveRecord disk = describeDisk(queries, number, *geometry, options.modeName);
    state.diskMedia.emplace_back(number, disk.mediaClass);
    if (!containsText(disk.mediaClass, "Removable") && !containsText(disk.mediaClass, "External")) continue;
    state.currentDiskDescriptor = physicalDescriptor(disk);
    if (options.refresh) {
      const TreeItem item = sink != nullptr ? sink->addDisk(disk) : kNoItem;
      const int added = options.onDiskListed ? options.onDiskListed(disk, item) : 0;
      if (added == 0) {
        state.partitionSearchQueue.push_back(PartitionSearchRequest{
            static_cast<std::uint32_t>(std::min<std::uint64_t>(disk.cylinders, UINT32_MAX)), disk.tracksPerCylinder,
            disk.sectorsPerTrack, item, disk.totalSectors, disk.devicePath()});
      }
      state.physicalDescriptors.push_back(physicalDescriptor(disk));
    }
    state.disks.push_back(std::move(disk));
  }
}

std::optional<VolumeExtents> volumeExtents(const platform::DeviceQueries& queries, std::string_view letterColon) {
  if (letterColon.empty()) return std::nullopt;
  const char letter = toUpperAscii(letterColon.substr(0, 1))[0];
  const auto extents = queries.volumeExtents(letter);
  if (extents.empty()) return std::nullopt;
  VolumeExtents out;
  for (const auto& e : extents) {
    out.firstSector = e.startingOffset / 512;
    out.endSector = out.firstSector + e.length / 512;
    out.diskNumber = e.diskNumber;
    const auto layout = queries.driveLayout(e.diskNumber);
    if (!layout) continue;
    for (const auto& entry : *layout) {
      if ((!entry.isGpt && entry.mbrType == ondisk::kTypeDynamicDisk) ||
          (entry.isGpt && entry.gptType == ondisk::gpt_type::ldmData())) {
        out.dynamicDisk = true;
        return out;
      }
    }
  }
  return out;
}

int volumeDiskNumber(const platform::DeviceQueries& queries, std::string_view rootPath) {
  if (rootPath.empty()) return -1;
  const auto extents = queries.volumeExtents(toUpperAscii(rootPath.substr(0, 1))[0]);
  return extents.empty() ? -1 : extents.back().diskNumber;
}

bool isExternalVolume(const platform::DeviceQueries& queries, std::string_view rootPath, const EnumerationState& state) {
  const int disk = volumeDiskNumber(queries, rootPath);
  for (const auto& [number, mediaClass] : state.diskMedia) {
    if (number == disk && containsText(mediaClass, "External")) return true;
  }
  return false;
}

namespace {

LogicalDriveRecord describeVolume(const platform::DeviceQueries& queries, char letter, const std::string& modeName) {
  LogicalDriveRecord r;
  r.modeName = modeName;
  r.letterColon = std::string(1, letter) + ":";
  const auto info = queries.volumeInformation(letter);
  if (info) {
    r.label = info->label;
    r.serialHex = strprintf("%X", info->serialNumber);
    r.fileSystemName = info->fileSystemName;
  } else {
    r.serialHex = "0";
  }
  if (r.fileSystemName.empty()) r.fileSystemName = "Unknown";
  r.sizeText = kUnknownSize;
  r.freeText = kUnknownSize;
  if (const auto space = queries.volumeSpace(letter)) {
    r.totalBytes = space->totalBytes;
    r.sizeText = trim(formatSize(space->totalBytes));
    if (space->freeBytes) r.freeText = trim(formatSize(*space->freeBytes));
  }
  r.totalSectors = r.totalBytes / 512;
  r.itemText = r.rootPath() + " (" + r.sizeText + " - " + r.label + " - " + r.fileSystemName + ")";
  if (const auto extents = volumeExtents(queries, r.letterColon)) {
    r.diskNumber = extents->diskNumber;
    r.dynamicDisk = extents->dynamicDisk;
    r.diskFirstSector = extents->firstSector;
    r.diskEndSector = extents->endSector;
  }
  return r;
}

}  // namespace

void enumerateLogicalDrives(const platform::DeviceQueries& queries, DriveTreeSink* sink, std::string_view filter,
                            const std::string& modeName, EnumerationState& state) {
  if (state.logicalListed) return;
  const std::uint32_t mask = queries.logicalDriveMask();
  for (int i = 0; i < 26; ++i) {
    if ((mask & (1u << i)) == 0) continue;
    const char letter = static_cast<char>('A' + i);
    if (filter != "ALL" && filter.size() == 1 && toUpperAscii(filter)[0] == letter) continue;
    const std::string root = std::string(1, letter) + ":\\";
    const auto type = queries.driveType(letter);
    if (type != platform::DriveType::Removable && type != platform::DriveType::Fixed) continue;
    if (type == platform::DriveType::Fixed && !isExternalVolume(queries, root, state)) continue;
    if (queries.isFloppy(letter)) continue;
    LogicalDriveRecord volume = describeVolume(queries, letter, modeName);
    state.logicalDescriptors.push_back(volume.devicePath() + "|" + std::to_string(volume.totalSectors));
    state.logicalDevicePath = volume.devicePath();
    if (sink != nullptr) sink->addLogicalDrive(volume);
    state.volumes.push_back(std::move(volume));
  }
  state.logicalListed = true;
}

}  // namespace dravel::storage
