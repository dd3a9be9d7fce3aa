#pragma once
// A sysfs and /dev tree in a temporary folder, shaped like the kernel's, so
// the device layer's Linux side runs against disks a test invents: a USB
// stick, a USB hard disk, an internal SATA disk, an empty card reader...

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/DeviceOptions.h"

namespace dravel::test {

struct FakePartition {
  std::string name;  // "sdb1"
  int number = 1;
  std::uint64_t start = 0;  // 512-byte sectors
  std::uint64_t size = 0;
  std::string dev = "8:17";
  std::filesystem::path node;  // file behind /dev/<name>; none when empty
};

struct FakeBlockDevice {
  std::string name;  // "sdb"
  // The device's folder below sys/devices, e.g.
  // "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0".
  std::string devicePath;
  std::uint64_t sectors = 0;  // the size attribute, 512-byte units
  bool removable = false;
  std::uint32_t logicalBlockSize = 512;
  std::string vendor, model, rev, serial;  // attributes of the device folder; empty ones are not written
  // Further attributes of the device folder, e.g. {"name", "SD16G"} for a memory card.
  std::vector<std::pair<std::string, std::string>> deviceAttributes;
  std::string usbDevice;                    // folder below sys/devices holding idVendor and serial
  std::string usbSerial;
  std::string loopBackingFile;              // loop devices: loop/backing_file
  std::string dev = "8:16";
  std::filesystem::path node;               // file behind /dev/<name>
  std::vector<FakePartition> partitions;
};

class FakeSysfs {
 public:
  explicit FakeSysfs(std::filesystem::path root);
  void add(const FakeBlockDevice& device);
  [[nodiscard]] std::filesystem::path sysRoot() const { return m_root / "sys"; }
  [[nodiscard]] std::filesystem::path devRoot() const { return m_root / "dev"; }
  // An empty mountinfo beside the tree: nothing is mounted unless a test writes it.
  [[nodiscard]] std::filesystem::path mountInfo() const { return m_root / "mountinfo"; }
  // Options that see this tree (and never the machine's own devices or mounts).
  [[nodiscard]] platform::DeviceOptions options(std::vector<std::filesystem::path> images = {}) const;

  // Common shapes.
  static FakeBlockDevice usbStick(const std::string& name, std::uint64_t sectors);
  static FakeBlockDevice usbHardDisk(const std::string& name, std::uint64_t sectors);
  static FakeBlockDevice sataDisk(const std::string& name, std::uint64_t sectors);
  // An SD card in a built-in reader: the kernel reports it not removable.
  static FakeBlockDevice memoryCard(const std::string& name, std::uint64_t sectors);
  static FakeBlockDevice nvmeDisk(const std::string& name, std::uint64_t sectors);
  static FakeBlockDevice virtioDisk(const std::string& name, std::uint64_t sectors);
  static FakeBlockDevice loopDevice(const std::string& name, std::uint64_t sectors, const std::string& backingFile);

 private:
  std::filesystem::path m_root;
};

}  // namespace dravel::test
