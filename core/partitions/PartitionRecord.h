#pragma once
// The file-system geometry a scan works with, and the selection it scans.
// Every sector number here is absolute on the device of the selection.

#include <cstdint>
#include <string>

namespace dravel::partitions {

struct PartitionRecord {
  std::uint32_t spf = 0;              // SPF: sectors per FAT
  std::uint32_t spc = 0;              // SPC: sectors per cluster
  std::uint32_t rootSec = 0;          // RootSec: root directory sectors (FAT16; 0 on FAT32)
  std::uint64_t rootStartSec = 0;     // RootStartSec: FAT16 first root sector; FAT32 root cluster
  std::uint32_t reserveSecStart = 0;  // ReserveSecStart: reserved sectors
  std::uint64_t cluster0Start = 0;    // Cluster0Start: cluster c begins at cluster0Start + c × spc; NTFS: first sector
  std::uint64_t firstFat = 0;         // firstFAT
  std::uint64_t secondFat = 0;        // secondFAT
  std::uint64_t mftStart = 0;         // NTFS: first sector of the MFT, 0 when not found
  std::uint64_t mftMirrorStart = 0;   // NTFS: first sector of the MFT mirror, 0 when not found
  std::uint32_t sectorsPerFileRecord = 0;
  std::uint32_t sectorsPerIndexBlock = 0;
};

// What a scan takes from the drive tree.
struct SelectionRecord {
  std::string devicePath;         // "\\.\PhysicalDrive1" or "\\.\E:"
  std::string logicalDevicePath;  // the volume path of the last listed or selected drive
  std::string driveKind;          // "My Computer", "Physical Drives", "Logical Drives", "Hard Disk", "Logical", "part", "Recognised"
  std::uint16_t diskIndex = 0;
  std::string fileSystemName;     // "FAT16", "FAT32", "NTFS" or "Unknown"
  std::string modeName;
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;    // one past the last sector of the range
  std::uint64_t endByteOffset = 0;
  std::uint64_t firstSectorCopy = 0;
  std::uint64_t endSectorCopy = 0;
  std::uint64_t diskSizeMiB = 0;
  std::uint64_t diskTotalSectors = 0;
  std::string currentDiskModel;
  std::string currentDiskDescriptor;
  bool dynamicDisk = false;
};

}  // namespace dravel::partitions
