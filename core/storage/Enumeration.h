#pragma once
// Physical disks and logical drives that can be recovered: removable media,
// fixed disks on a USB bus, and the volumes that lie on either. Internal fixed
// disks and their volumes are never offered.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DriveRecord.h"
#include "DriveTreeSink.h"
#include "platform/DeviceQueries.h"

namespace dravel::storage {

// "UNKNOWN", "SCSI", ..., "SATA", "Reserved", and the empty text from 13 on.
[[nodiscard]] std::string busTypeName(std::uint32_t busType);

// "Removable Media", "External hard disk media", "Fixed hard disk media" or empty.
[[nodiscard]] std::string mediaClassText(std::uint32_t mediaType, std::string_view busName);

// The disk number in an item text such as "Removable Media (Disk1 - 7.45 GB)";
// -1 when the text does not hold one.
[[nodiscard]] int diskNumberFromItemText(std::string_view text);

struct PartitionSearchRequest {
  std::uint32_t cylinders = 0;
  std::uint32_t tracksPerCylinder = 0;
  std::uint32_t sectorsPerTrack = 0;
  TreeItem diskItem = kNoItem;
  std::uint64_t totalSectors = 0;
  std::string devicePath;
};

// The lists that one drive listing builds; each refresh starts them afresh.
struct EnumerationState {
  std::vector<PhysicalDriveRecord> disks;       // the listed disks, by number
  std::vector<LogicalDriveRecord> volumes;      // the listed volumes, by letter
  std::vector<std::string> physicalDescriptors; // model||size||total sectors||number
  std::vector<std::string> logicalDescriptors;  // \\.\E:|total sectors
  // Every disk whose geometry could be read: number and media class.
  std::vector<std::pair<int, std::string>> diskMedia;
  std::vector<PartitionSearchRequest> partitionSearchQueue;
  std::string currentDiskDescriptor;
  std::string logicalDevicePath;  // of the last listed volume
  bool logicalListed = false;
};

// "model||size text||total sectors||disk number".
[[nodiscard]] std::string physicalDescriptor(const PhysicalDriveRecord& disk);

// Called for each listed disk when the tree is being filled: walks the disk's
// partitions under its item and returns how many partition items it added.
using DiskListedHook = std::function<int(const PhysicalDriveRecord& disk, TreeItem item)>;

struct PhysicalEnumerationOptions {
  bool refresh = true;          // insert items and walk partitions
  std::string modeName;         // "Basic Search", ...
  DiskListedHook onDiskListed;  // may be empty
};

void enumeratePhysicalDisks(const platform::DeviceQueries& queries, DriveTreeSink* sink,
                            const PhysicalEnumerationOptions& options, EnumerationState& state);

// filter "ALL" lists every drive; a single letter leaves that drive out.
void enumerateLogicalDrives(const platform::DeviceQueries& queries, DriveTreeSink* sink, std::string_view filter,
                            const std::string& modeName, EnumerationState& state);

struct VolumeExtents {
  bool dynamicDisk = false;
  int diskNumber = 0;
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;  // first sector + length
};

// For "E:": the volume's disk, its sectors there, and whether the disk is
// dynamic. nullopt when the volume cannot be resolved.
[[nodiscard]] std::optional<VolumeExtents> volumeExtents(const platform::DeviceQueries& queries,
                                                         std::string_view letterColon);

// The disk that holds the volume "E:\" (or "E:"), or -1.
[[nodiscard]] int volumeDiskNumber(const platform::DeviceQueries& queries, std::string_view rootPath);

// True when the volume's disk is in the media list with a class containing "External".
[[nodiscard]] bool isExternalVolume(const platform::DeviceQueries& queries, std::string_view rootPath,
                                    const EnumerationState& state);

}  // namespace dravel::storage
