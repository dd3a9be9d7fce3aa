#pragma once
// The data a disk or logical-drive item of the drive tree carries. The slot
// numbers in the comments are the positions these values have in the record
// that logs and panels were designed around.

#include <cstdint>
#include <string>
#include <variant>

namespace dravel::storage {

struct PhysicalDriveRecord {
  std::string itemText;           // 0: "Removable Media (Disk1 - 7.45 GB)"
  std::string mediaClass;         // 1 and 27
  std::string modeName;           // 2: "Basic Search", ...
  int diskNumber = -1;            // 22 (decimal text)
  std::string diskName;           // 23: "Disk1"
  std::string model;              // 24 and 26
  std::string sizeAndClass;       // 25: size text + " - " + media class
  std::string busName;            // 28
  std::string sizeText;           // 29, trimmed
  std::uint64_t cylinders = 0;    // 30
  std::uint32_t tracksPerCylinder = 0;  // 31
  std::uint64_t totalSectors = 0; // 32: geometry size ÷ 512 (whole cylinders only)
  std::uint32_t bytesPerSector = 0;     // 33
  std::uint32_t sectorsPerTrack = 0;    // 34
  std::string revision;           // 35
  std::string vendorUpper;        // 36
  std::string serial;             // 37
  std::string computerName;       // 38
  std::string devicePathUpper;    // 39: "\\.\PHYSICALDRIVE1"
  std::uint64_t sizeMiB = 0;      // 40-41
  // Not part of the classic record: every 512-byte sector of the medium,
  // including those after the last whole cylinder.
  std::uint64_t deviceSectors = 0;

  [[nodiscard]] std::string devicePath() const;  // "\\.\PhysicalDrive1"
  // One past the medium's last readable sector: the geometry counts whole
  // cylinders only, the medium may hold more.
  [[nodiscard]] std::uint64_t mediumEndSector() const { return deviceSectors > totalSectors ? deviceSectors : totalSectors; }
};

struct LogicalDriveRecord {
  std::string itemText;           // "E:\ (7.45 GB - KINGSTON - FAT32)"
  std::string group = "Logical Drives";  // 1
  std::string modeName;           // 2
  std::uint64_t firstSector = 0;  // 3: always 0, the volume's own first sector
  std::uint64_t totalSectors = 0; // 4: total bytes ÷ 512
  std::string fileSystemName;     // 5: "FAT32", "FAT", "NTFS", ... or "Unknown"
  std::string letterColon;        // 6: "E:"
  std::string label;              // 7
  std::string sizeText;           // 8: trimmed size text or "Unknown Size "
  std::string freeText;           // 9: the same for the free space
  std::string serialHex;          // 10: "%X"
  std::uint64_t sizeMiB = 0;      // 11-12: always 0 for volumes
  std::uint64_t totalBytes = 0;   // 14-15
  int diskNumber = -1;            // 16
  bool dynamicDisk = false;       // 17
  std::uint64_t diskFirstSector = 0;  // 18-19: on the physical disk
  std::uint64_t diskEndSector = 0;    // 20-21: first sector + length (one past the last)

  [[nodiscard]] std::string devicePath() const;  // "\\.\E:"
  [[nodiscard]] std::string rootPath() const;    // "E:\"
};

using DriveRecord = std::variant<PhysicalDriveRecord, LogicalDriveRecord>;

}  // namespace dravel::storage
