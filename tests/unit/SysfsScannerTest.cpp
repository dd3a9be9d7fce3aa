#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/SysfsScanner.h"
#include "support/FakeSysfs.h"
#include "support/TempDir.h"

namespace dravel::platform {
namespace {

using test::FakeBlockDevice;
using test::FakeSysfs;

struct BusCase {
  const char* path;
  BusType bus;
};

class BusFromSysfsPathTest : public ::testing::TestWithParam<BusCase> {};

TEST_P(BusFromSysfsPathTest, NamesTheBusFromTheCanonicalPath) {
  EXPECT_EQ(busFromSysfsPath(GetParam().path), GetParam().bus);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BusFromSysfsPathTest,
    ::testing::Values(
        BusCase{"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb",
                BusType::Usb},
        // A card reader on USB is USB, even with an mmc-looking name further down.
        BusCase{"/sys/devices/pci0000:00/0000:00:14.0/usb2/2-3/2-3:1.0/host8/target8:0:0/8:0:0:1/block/sdd",
                BusType::Usb},
        BusCase{"/sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1", BusType::Nvme},
        BusCase{"/sys/devices/pci0000:00/0000:00:14.5/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0", BusType::Sd},
        BusCase{"/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda", BusType::Sata},
        BusCase{"/sys/devices/pci0000:00/0000:00:04.0/virtio1/block/vda", BusType::Unknown},
        BusCase{"/sys/devices/platform/host3/target3:0:0/3:0:0:0/block/sde", BusType::Scsi},
        BusCase{"/sys/devices/virtual/block/loop0", BusType::Unknown}, BusCase{"", BusType::Unknown}));

struct OrderCase {
  const char* a;
  const char* b;
};

class NaturalLessTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(NaturalLessTest, OrdersLikeTheKernelNamesDevices) {
  EXPECT_TRUE(naturalLess(GetParam().a, GetParam().b));
  EXPECT_FALSE(naturalLess(GetParam().b, GetParam().a));
}

INSTANTIATE_TEST_SUITE_P(Pairs, NaturalLessTest,
                         ::testing::Values(OrderCase{"sda", "sdb"}, OrderCase{"sdb", "sdc"},
                                           // Shorter letter runs first: sdz is followed by sdaa.
                                           OrderCase{"sdz", "sdaa"}, OrderCase{"sdaa", "sdab"},
                                           OrderCase{"mmcblk2", "mmcblk10"}, OrderCase{"nvme0n2", "nvme0n10"},
                                           OrderCase{"nvme0n9", "nvme1n1"}, OrderCase{"loop9", "loop10"},
                                           // Families in numbering order: sd, nvme, vd, mmcblk, loop.
                                           OrderCase{"sdzz", "nvme0n1"}, OrderCase{"nvme9n9", "vda"},
                                           OrderCase{"vdz", "mmcblk0"}, OrderCase{"mmcblk99", "loop0"}));

TEST(NaturalLess, IsIrreflexiveAndSortsAMixedList) {
  for (const char* name : {"sda", "mmcblk10", "loop0"}) EXPECT_FALSE(naturalLess(name, name)) << name;
  std::vector<std::string> names = {"loop1", "mmcblk10", "sdaa", "vdb", "sdb", "nvme1n1", "mmcblk2",
                                    "sda", "nvme0n10", "sdz", "loop0", "nvme0n2", "vda"};
  std::sort(names.begin(), names.end(), naturalLess);
  const std::vector<std::string> expected = {"sda",     "sdb",  "sdz",      "sdaa",    "nvme0n2", "nvme0n10", "nvme1n1",
                                             "vda",     "vdb",  "mmcblk2", "mmcblk10", "loop0",   "loop1"};
  EXPECT_EQ(names, expected);
}

class ScanSysfsDisksTest : public ::testing::Test {
 protected:
  std::vector<DiskDevice> scan() const { return scanSysfsDisks(m_sys.sysRoot(), m_sys.devRoot()); }

  test::TempDir m_dir;
  FakeSysfs m_sys{m_dir.path()};
};

TEST_F(ScanSysfsDisksTest, ListsWholeDisksOfKnownFamiliesInNameOrder) {
  for (const char* name : {"sdc", "sdaa", "sda", "mmcblk10", "mmcblk2", "vda", "nvme0n1"}) {
    m_sys.add(FakeSysfs::sataDisk(name, 1000));
  }
  m_sys.add(FakeSysfs::loopDevice("loop3", 1000, "/srv/images/card.img"));
  // Not disks to recover from: an optical drive, device-mapper, RAID and
  // zram devices, the boot and RPMB areas of an eMMC, and a loop device with
  // nothing attached.
  for (const char* name : {"sr0", "dm-0", "zram0", "md127", "mmcblk0boot0", "mmcblk0rpmb"}) {
    m_sys.add(FakeSysfs::sataDisk(name, 1000));
  }
  m_sys.add(FakeSysfs::loopDevice("loop0", 0, ""));

  std::vector<std::string> names;
  for (const auto& d : scan()) names.push_back(d.sysName);
  const std::vector<std::string> expected = {"sda", "sdc", "sdaa", "nvme0n1", "vda", "mmcblk2", "mmcblk10", "loop3"};
  EXPECT_EQ(names, expected);
}

TEST_F(ScanSysfsDisksTest, DescribesAUsbStickWithItsPartitions) {
  FakeBlockDevice stick = FakeSysfs::usbStick("sdb", 15633408);
  stick.dev = "8:16";
  // Listed out of order: the kernel's numbers decide.
  stick.partitions = {{"sdb5", 5, 4096, 1000, "8:21", {}}, {"sdb1", 1, 2048, 2000, "8:17", {}}};
  m_sys.add(stick);
  const auto disks = scan();
  ASSERT_EQ(disks.size(), 1u);
  const auto& d = disks[0];
  EXPECT_EQ(d.number, -1);  // numbers are the namespace's to give
  EXPECT_FALSE(d.isImage);
  EXPECT_EQ(d.node, m_sys.devRoot() / "sdb");
  EXPECT_EQ(d.sizeBytes, 15633408ull * 512);
  EXPECT_EQ(d.logicalBlockSize, 512u);
  EXPECT_TRUE(d.removable);
  EXPECT_EQ(d.bus, BusType::Usb);
  EXPECT_EQ(d.vendor, "SanDisk");
  EXPECT_EQ(d.product, "Cruzer Blade");
  EXPECT_EQ(d.revision, "1.00");
  // The SCSI device has no serial; the USB device above it has.
  EXPECT_EQ(d.serial, "4C530001230101118412");
  EXPECT_EQ(d.devNumbers, "8:16");
  ASSERT_EQ(d.kernelPartitions.size(), 2u);
  EXPECT_EQ(d.kernelPartitions[0].name, "sdb1");
  EXPECT_EQ(d.kernelPartitions[0].number, 1);
  EXPECT_EQ(d.kernelPartitions[0].firstSector, 2048u);
  EXPECT_EQ(d.kernelPartitions[0].sectorCount, 2000u);
  EXPECT_EQ(d.kernelPartitions[0].devNumbers, "8:17");
  EXPECT_EQ(d.kernelPartitions[1].name, "sdb5");
  EXPECT_EQ(d.kernelPartitions[1].number, 5);
  EXPECT_EQ(d.kernelPartitions[1].firstSector, 4096u);
}

struct ShapeCase {
  const char* name;
  FakeBlockDevice device;
  BusType bus;
  bool removable;
  const char* vendor;
  const char* product;
  const char* revision;
  const char* serial;
};

FakeBlockDevice withDeviceSerial(FakeBlockDevice d, const char* serial) {
  d.serial = serial;
  return d;
}

FakeBlockDevice with4kSectors(FakeBlockDevice d) {
  d.logicalBlockSize = 4096;
  return d;
}

class DiskShapeTest : public ScanSysfsDisksTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(DiskShapeTest, ReadsBusRemovabilityAndStrings) {
  const auto& c = GetParam();
  m_sys.add(c.device);
  const auto disks = scan();
  ASSERT_EQ(disks.size(), 1u);
  const auto& d = disks[0];
  EXPECT_EQ(d.bus, c.bus);
  EXPECT_EQ(d.removable, c.removable);
  EXPECT_EQ(d.vendor, c.vendor);
  EXPECT_EQ(d.product, c.product);
  EXPECT_EQ(d.revision, c.revision);
  EXPECT_EQ(d.serial, c.serial);
  EXPECT_EQ(d.logicalBlockSize, c.device.logicalBlockSize);
  EXPECT_EQ(d.sizeBytes, c.device.sectors * 512);  // sysfs counts 512-byte units whatever the block size
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DiskShapeTest,
    ::testing::Values(
        ShapeCase{"UsbHardDisk", FakeSysfs::usbHardDisk("sdc", 1953525168), BusType::Usb, false, "WD",
                  "Elements 25A2", "1021", "575834314134"},
        ShapeCase{"UsbHardDisk4k", with4kSectors(FakeSysfs::usbHardDisk("sdc", 1953525168)), BusType::Usb, false,
                  "WD", "Elements 25A2", "1021", "575834314134"},
        // The device's own serial wins over the USB device's.
        ShapeCase{"UsbStickOwnSerial", withDeviceSerial(FakeSysfs::usbStick("sdb", 1000), "OWN123"), BusType::Usb,
                  true, "SanDisk", "Cruzer Blade", "1.00", "OWN123"},
        // No serial is looked for above a disk that is not on USB.
        ShapeCase{"Sata", FakeSysfs::sataDisk("sda", 1000), BusType::Sata, false, "ATA", "Samsung SSD 860", "RVT0",
                  ""},
        // A card in a built-in reader says it is not removable; it is.
        ShapeCase{"MemoryCard", FakeSysfs::memoryCard("mmcblk0", 31116288), BusType::Sd, true, "", "SD16G", "0x0",
                  "0x1234abcd"},
        ShapeCase{"Nvme", FakeSysfs::nvmeDisk("nvme0n1", 1000215216), BusType::Nvme, false, "", "Samsung SSD 980",
                  "2B4QFXO7", "S64DNX0R123456"},
        ShapeCase{"Virtio", FakeSysfs::virtioDisk("vda", 1000), BusType::Unknown, false, "", "", "", ""},
        // An attached image file: removable media named after the file.
        ShapeCase{"Loop", FakeSysfs::loopDevice("loop0", 1000, "/srv/images/card.img"), BusType::FileBackedVirtual,
                  true, "", "card.img", "", ""},
        ShapeCase{"EmptyCardReader", FakeSysfs::usbStick("sdd", 0), BusType::Usb, true, "SanDisk", "Cruzer Blade",
                  "1.00", "4C530001230101118412"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ScanSysfsDisksTest, MissingBlockFolderFindsNothing) {
  EXPECT_TRUE(scanSysfsDisks(m_dir / "absent", m_sys.devRoot()).empty());
}

}  // namespace
}  // namespace dravel::platform
