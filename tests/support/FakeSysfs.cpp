#include "FakeSysfs.h"

#include "TempDir.h"

namespace dravel::test {

namespace fs = std::filesystem;

namespace {
void attribute(const fs::path& dir, const std::string& name, const std::string& value) {
  if (!value.empty()) writeFile(dir / name, value + "\n");
}
}  // namespace

FakeSysfs::FakeSysfs(fs::path root) : m_root(std::move(root)) {
  fs::create_directories(sysRoot() / "block");
  fs::create_directories(devRoot());
  writeFile(mountInfo(), "");
}

platform::DeviceOptions FakeSysfs::options(std::vector<fs::path> images) const {
  platform::DeviceOptions o;
  o.images = std::move(images);
  o.sysRoot = sysRoot();
  o.devRoot = devRoot();
  o.mountInfo = mountInfo();
  return o;
}

void FakeSysfs::add(const FakeBlockDevice& d) {
  const fs::path deviceDir = sysRoot() / "devices" / d.devicePath;
  const fs::path blockDir = deviceDir / "block" / d.name;
  fs::create_directories(blockDir / "queue");
  attribute(blockDir, "size", std::to_string(d.sectors));
  attribute(blockDir, "removable", d.removable ? "1" : "0");
  attribute(blockDir / "queue", "logical_block_size", std::to_string(d.logicalBlockSize));
  attribute(blockDir, "dev", d.dev);
  fs::create_symlink(fs::relative(deviceDir, blockDir), blockDir / "device");
  attribute(deviceDir, "vendor", d.vendor);
  attribute(deviceDir, "model", d.model);
  attribute(deviceDir, "rev", d.rev);
  attribute(deviceDir, "serial", d.serial);
  for (const auto& [name, value] : d.deviceAttributes) attribute(deviceDir, name, value);
  if (!d.usbDevice.empty()) {
    const fs::path usb = sysRoot() / "devices" / d.usbDevice;
    attribute(usb, "idVendor", "0781");
    attribute(usb, "serial", d.usbSerial);
  }
  if (!d.loopBackingFile.empty()) attribute(blockDir / "loop", "backing_file", d.loopBackingFile);
  for (const auto& p : d.partitions) {
    const fs::path partDir = blockDir / p.name;
    attribute(partDir, "partition", std::to_string(p.number));
    attribute(partDir, "start", std::to_string(p.start));
    attribute(partDir, "size", std::to_string(p.size));
    attribute(partDir, "dev", p.dev);
    if (!p.node.empty()) fs::create_symlink(p.node, devRoot() / p.name);
  }
  fs::create_symlink(fs::relative(blockDir, sysRoot() / "block"), sysRoot() / "block" / d.name);
  if (!d.node.empty()) fs::create_symlink(d.node, devRoot() / d.name);
}

FakeBlockDevice FakeSysfs::usbStick(const std::string& name, std::uint64_t sectors) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0";
  d.usbDevice = "pci0000:00/0000:00:14.0/usb1/1-1";
  d.usbSerial = "4C530001230101118412";
  d.sectors = sectors;
  d.removable = true;
  d.vendor = "SanDisk";
  d.model = "Cruzer Blade";
  d.rev = "1.00";
  return d;
}

FakeBlockDevice FakeSysfs::usbHardDisk(const std::string& name, std::uint64_t sectors) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host7/target7:0:0/7:0:0:0";
  d.usbDevice = "pci0000:00/0000:00:14.0/usb2/2-1";
  d.usbSerial = "575834314134";
  d.sectors = sectors;
  d.removable = false;
  d.vendor = "WD";
  d.model = "Elements 25A2";
  d.rev = "1021";
  d.dev = "8:32";
  return d;
}

FakeBlockDevice FakeSysfs::sataDisk(const std::string& name, std::uint64_t sectors) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
  d.sectors = sectors;
  d.removable = false;
  d.vendor = "ATA";
  d.model = "Samsung SSD 860";
  d.rev = "RVT0";
  d.dev = "8:0";
  return d;
}

FakeBlockDevice FakeSysfs::memoryCard(const std::string& name, std::uint64_t sectors) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "pci0000:00/0000:00:14.5/mmc_host/mmc0/mmc0:aaaa";
  d.sectors = sectors;
  d.removable = false;
  d.serial = "0x1234abcd";
  d.deviceAttributes = {{"name", "SD16G"}, {"fwrev", "0x0"}};
  d.dev = "179:0";
  return d;
}

FakeBlockDevice FakeSysfs::nvmeDisk(const std::string& name, std::uint64_t sectors) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0";
  d.sectors = sectors;
  d.removable = false;
  d.model = "Samsung SSD 980";
  d.serial = "S64DNX0R123456";
  d.deviceAttributes = {{"firmware_rev", "2B4QFXO7"}};
  d.dev = "259:0";
  return d;
}

FakeBlockDevice FakeSysfs::virtioDisk(const std::string& name, std::uint64_t sectors) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "pci0000:00/0000:00:04.0/virtio1";
  d.sectors = sectors;
  d.removable = false;
  d.dev = "252:0";
  return d;
}

FakeBlockDevice FakeSysfs::loopDevice(const std::string& name, std::uint64_t sectors, const std::string& backingFile) {
  FakeBlockDevice d;
  d.name = name;
  d.devicePath = "virtual";
  d.sectors = sectors;
  d.removable = false;
  d.loopBackingFile = backingFile;
  d.dev = "7:0";
  return d;
}

}  // namespace dravel::test
