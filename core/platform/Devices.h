#pragma once
// What the device namespace knows about disks and volumes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dravel::platform {

// Bus numbers as storage adapters report them; names come from the bus table
// of the enumeration, which knows 0..13.
enum class BusType : std::uint32_t {
  Unknown = 0,
  Scsi = 1,
  Atapi = 2,
  Ata = 3,
  Ieee1394 = 4,
  Ssa = 5,
  Fibre = 6,
  Usb = 7,
  Raid = 8,
  Iscsi = 9,
  Sas = 10,
  Sata = 11,
  Sd = 12,
  Mmc = 13,
  Virtual = 14,
  FileBackedVirtual = 15,
  Nvme = 17,
};

struct SysfsPartition {
  std::string name;               // "sdb1"
  int number = 0;                 // the kernel's partition number
  std::uint64_t firstSector = 0;  // 512-byte units on the disk
  std::uint64_t sectorCount = 0;
  std::string devNumbers;         // "8:17"
};

struct DiskDevice {
  int number = -1;                 // disk number 0..24
  bool isImage = false;
  std::filesystem::path node;      // /dev/sdb, or the image file
  std::string sysName;             // "sdb"; empty for images
  std::uint64_t sizeBytes = 0;     // 0: no medium (an empty card slot)
  std::uint32_t logicalBlockSize = 512;
  bool removable = false;          // reports removable media
  BusType bus = BusType::Unknown;
  std::string vendor, product, revision, serial;
  std::string devNumbers;          // "8:16"; empty for images
  std::vector<SysfsPartition> kernelPartitions;  // block devices only
};

struct VolumeDevice {
  char letter = 0;
  int diskNumber = -1;
  int partitionNumber = 0;         // 0: the whole disk is the volume
  std::uint64_t firstSector = 0;   // on its disk
  std::uint64_t sectorCount = 0;
  std::filesystem::path node;      // /dev/sdb1, or the disk's node or image file
  std::uint64_t nodeOffset = 0;    // byte offset of the volume inside node
  std::string devNumbers;          // for the mount table; empty for images
  bool removable = false;          // the volume's disk reports removable media
};

// Where a device path's bytes are: [offset, offset + length) of node.
struct DeviceTarget {
  std::filesystem::path node;
  std::uint64_t offset = 0;
  std::uint64_t length = 0;  // 0 when unknown: reads then stop at the node's end
};

}  // namespace dravel::platform
