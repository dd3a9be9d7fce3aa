#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/Text.h"
#include "ondisk/PartitionTableLayout.h"
#include "platform/DeviceQueries.h"
#include "platform/System.h"
#include "storage/Enumeration.h"
#include "storage/MemoryDriveTree.h"
#include "storage/SizeText.h"
#include "support/DiskBuilder.h"
#include "support/FakeSysfs.h"
#include "support/TempDir.h"

namespace dravel::storage {
namespace {

namespace fs = std::filesystem;
using test::DiskBuilder;
using test::FakeBlockDevice;
using test::FakeSysfs;

constexpr std::uint64_t kStickSectors = 15633408;   // 973 cylinders and 2163 sectors more
constexpr std::uint64_t kHddSectors = 1953525168;   // 121601 cylinders and 5103 sectors more

class EnumerationTest : public ::testing::Test {
 protected:
  fs::path file(const std::string& name, const DiskBuilder& disk) const {
    const fs::path path = m_dir / name;
    disk.writeTo(path);
    return path;
  }

  // A volume node formatted FAT32: label KINGSTON, 2494 clusters of 4 KB, 1000 free.
  fs::path fat32Volume(const std::string& name) const {
    DiskBuilder v(64);
    v.fat32(0, test::FatLayout{.reserved = 32, .sectorsPerFat = 8, .sectorsPerCluster = 8, .totalSectors = 20000,
                               .label = "KINGSTON", .volumeId = 0x1A2B3C4D});
    v.put32(512, 0x41615252);
    v.put32(512 + 484, 0x61417272);
    v.put32(512 + 488, 1000);
    return file(name, v);
  }

  // A volume node formatted NTFS: 255 whole clusters of 4 KB, no label.
  fs::path ntfsVolume(const std::string& name) const {
    DiskBuilder v(64);
    v.ntfs(0, test::NtfsLayout{.totalSectors = 2047, .writeMftRecords = false}, false);
    return file(name, v);
  }

  // The machine most tests look at:
  //   Disk0 sda  internal SATA disk, volume C: (NTFS)
  //   Disk1 sdb  USB stick, volume D: (FAT32, from sector 2048)
  //   Disk2 sdc  USB hard disk, volume E: (NTFS, from sector 63)
  //   Disk3      an image with an unformatted volume F:
  void addMachine() {
    auto sata = FakeSysfs::sataDisk("sda", 500118192);
    sata.partitions = {{"sda1", 1, 2048, 2047, "8:1", ntfsVolume("sda1.img")}};
    m_sys.add(sata);
    auto stick = FakeSysfs::usbStick("sdb", kStickSectors);
    stick.partitions = {{"sdb1", 1, 2048, 20000, "8:17", fat32Volume("sdb1.img")}};
    m_sys.add(stick);
    auto hdd = FakeSysfs::usbHardDisk("sdc", kHddSectors);
    hdd.partitions = {{"sdc1", 1, 63, 2047, "8:33", ntfsVolume("sdc1.img")}};
    m_sys.add(hdd);
    DiskBuilder card(64);
    card.mbrEntry(0, 0, 0x0C, 8, 40);
    m_images.push_back(file("card.img", card));
  }

  [[nodiscard]] platform::DeviceQueries queries() const {
    return platform::DeviceQueries(std::make_shared<platform::DeviceNamespace>(m_sys.options(m_images)));
  }

  void enumerateDisks(const platform::DeviceQueries& q, PhysicalEnumerationOptions options = {}) {
    if (options.modeName.empty()) options.modeName = "Basic Search";
    enumeratePhysicalDisks(q, &m_tree, options, m_state);
  }

  void enumerateVolumes(const platform::DeviceQueries& q, std::string_view filter = "ALL") {
    enumerateLogicalDrives(q, &m_tree, filter, "Deep Search", m_state);
  }

  test::TempDir m_dir;
  FakeSysfs m_sys{m_dir / "root"};
  std::vector<fs::path> m_images;
  MemoryDriveTree m_tree;
  EnumerationState m_state;
};

using Texts = std::vector<std::string>;

TEST_F(EnumerationTest, ListsRemovableMediaAndExternalDisksButNotInternalOnes) {
  addMachine();
  const auto q = queries();
  enumerateDisks(q);

  const Texts expected = {"Removable Media (Disk1 - 7.45 GB)", "External hard disk media (Disk2 - 931.51 GB)",
                          "Removable Media (Disk3 - 0 Byte)"};
  EXPECT_EQ(m_tree.childTexts(m_tree.physicalDrives()), expected);
  ASSERT_EQ(m_state.disks.size(), 3u);
  EXPECT_EQ(m_state.disks[0].diskNumber, 1);
  EXPECT_EQ(m_state.disks[1].diskNumber, 2);
  EXPECT_EQ(m_state.disks[2].diskNumber, 3);
  // The internal disk is known with its class, so that its volumes can be left out.
  const std::vector<std::pair<int, std::string>> media = {{0, "Fixed hard disk media"},
                                                           {1, "Removable Media"},
                                                           {2, "External hard disk media"},
                                                           {3, "Removable Media"}};
  EXPECT_EQ(m_state.diskMedia, media);
}

TEST_F(EnumerationTest, RecordOfAUsbStick) {
  addMachine();
  enumerateDisks(queries());
  ASSERT_FALSE(m_state.disks.empty());
  const auto& d = m_state.disks[0];
  EXPECT_EQ(d.itemText, "Removable Media (Disk1 - 7.45 GB)");
  EXPECT_EQ(d.mediaClass, "Removable Media");
  EXPECT_EQ(d.modeName, "Basic Search");
  EXPECT_EQ(d.diskNumber, 1);
  EXPECT_EQ(d.diskName, "Disk1");
  EXPECT_EQ(d.model, "SanDisk Cruzer Blade USB Device");
  EXPECT_EQ(d.sizeAndClass, "7.45 GB - Removable Media");
  EXPECT_EQ(d.busName, "USB");
  EXPECT_EQ(d.sizeText, "7.45 GB");
  EXPECT_EQ(d.cylinders, 973u);
  EXPECT_EQ(d.tracksPerCylinder, 255u);
  EXPECT_EQ(d.sectorsPerTrack, 63u);
  EXPECT_EQ(d.bytesPerSector, 512u);
  EXPECT_EQ(d.totalSectors, 973u * 16065);
  EXPECT_EQ(d.deviceSectors, kStickSectors);
  EXPECT_EQ(d.sizeMiB, 973ull * 16065 * 512 >> 20);
  EXPECT_EQ(d.revision, "1.00");
  EXPECT_EQ(d.vendorUpper, "SANDISK");
  EXPECT_EQ(d.serial, "4C530001230101118412");
  EXPECT_EQ(d.computerName, platform::computerName());
  EXPECT_EQ(d.devicePathUpper, "\\\\.\\PHYSICALDRIVE1");
  EXPECT_EQ(physicalDescriptor(d), "SanDisk Cruzer Blade USB Device||7.45 GB||15631245||1");
}

struct GeometryCase {
  const char* name;
  std::uint64_t sectors;  // 512-byte units, as sysfs counts
  std::uint32_t logicalBlockSize;
  std::uint64_t cylinders;
  std::uint64_t totalSectors;
  const char* sizeText;
};

class GeometryTest : public EnumerationTest, public ::testing::WithParamInterface<GeometryCase> {};

// Cylinders of 255 × 63 blocks of the logical block size; sectors after the
// last whole cylinder are not part of the size.
TEST_P(GeometryTest, WholeCylindersOfTheLogicalBlockSize) {
  const auto& c = GetParam();
  auto stick = FakeSysfs::usbStick("sdb", c.sectors);
  stick.logicalBlockSize = c.logicalBlockSize;
  m_sys.add(stick);
  enumerateDisks(queries());
  ASSERT_EQ(m_state.disks.size(), 1u);
  const auto& d = m_state.disks[0];
  EXPECT_EQ(d.cylinders, c.cylinders);
  EXPECT_EQ(d.tracksPerCylinder, 255u);
  EXPECT_EQ(d.sectorsPerTrack, 63u);
  EXPECT_EQ(d.bytesPerSector, c.logicalBlockSize);
  EXPECT_EQ(d.totalSectors, c.totalSectors);
  EXPECT_EQ(d.deviceSectors, c.sectors);
  EXPECT_EQ(d.sizeText, c.sizeText);
  ASSERT_EQ(m_state.partitionSearchQueue.size(), 1u);
  EXPECT_EQ(m_state.partitionSearchQueue[0].cylinders, c.cylinders);
  EXPECT_EQ(m_state.partitionSearchQueue[0].totalSectors, c.totalSectors);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GeometryTest,
    ::testing::Values(GeometryCase{"Stick", kStickSectors, 512, 973, 973 * 16065, "7.45 GB"},
                      GeometryCase{"ExactCylinders", 3 * 16065, 512, 3, 3 * 16065, "23.53 MB"},
                      GeometryCase{"OneSectorShort", 3 * 16065 - 1, 512, 2, 2 * 16065, "15.69 MB"},
                      GeometryCase{"LessThanACylinder", 16064, 512, 0, 0, "0 Byte"},
                      // 4 KB blocks: 244190646 blocks make 15200 cylinders of 16065 blocks.
                      GeometryCase{"FourKBlocks", kHddSectors, 4096, 15200, 15200ull * 16065 * 8, "931.50 GB"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(EnumerationTest, EmptyCardReaderIsSkippedAndLaterDisksAreStillFound) {
  m_sys.add(FakeSysfs::usbStick("sdb", 0));
  m_sys.add(FakeSysfs::usbStick("sdc", kStickSectors));
  enumerateDisks(queries());
  const Texts expected = {"Removable Media (Disk1 - 7.45 GB)"};
  EXPECT_EQ(m_tree.childTexts(m_tree.physicalDrives()), expected);
  const std::vector<std::pair<int, std::string>> media = {{1, "Removable Media"}};
  EXPECT_EQ(m_state.diskMedia, media);
  EXPECT_EQ(m_state.partitionSearchQueue.size(), 1u);
}

TEST_F(EnumerationTest, AtMostTwentyFiveDisksAreExamined) {
  for (int i = 0; i < 26; ++i) {
    const fs::path image = m_dir / ("disk" + std::to_string(i) + ".img");
    test::writeFile(image, "");
    fs::resize_file(image, 16065 * 512);  // one cylinder, sparse
    m_images.push_back(image);
  }
  const auto q = queries();
  enumerateDisks(q);
  const auto items = m_tree.childTexts(m_tree.physicalDrives());
  ASSERT_EQ(items.size(), 25u);
  EXPECT_EQ(items.front(), "Removable Media (Disk0 - 7.84 MB)");
  EXPECT_EQ(items.back(), "Removable Media (Disk24 - 7.84 MB)");
  const auto problems = q.devices().problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find(m_images[25].string()), std::string::npos) << problems[0];
}

struct BusCase {
  const char* name;
  FakeBlockDevice device;
  const char* mediaClass;
  const char* busName;
  bool listed;
  const char* model;  // listed disks only
};

FakeBlockDevice withoutVendor(FakeBlockDevice d) {
  d.vendor.clear();
  return d;
}

class DiskClassTest : public EnumerationTest, public ::testing::WithParamInterface<BusCase> {};

TEST_P(DiskClassTest, ClassBusAndModelFollowTheDevice) {
  const auto& c = GetParam();
  m_sys.add(c.device);
  const auto q = queries();
  enumerateDisks(q);
  ASSERT_EQ(m_state.diskMedia.size(), 1u);
  EXPECT_EQ(m_state.diskMedia[0].second, c.mediaClass);
  const auto bus = q.adapterBusType(0);
  ASSERT_TRUE(bus.has_value());
  EXPECT_EQ(busTypeName(static_cast<std::uint32_t>(*bus)), c.busName);
  ASSERT_EQ(m_state.disks.size(), c.listed ? 1u : 0u);
  EXPECT_EQ(m_tree.childCount(m_tree.physicalDrives()), c.listed ? 1 : 0);
  if (!c.listed) return;
  EXPECT_EQ(m_state.disks[0].mediaClass, c.mediaClass);
  EXPECT_EQ(m_state.disks[0].busName, c.busName);
  EXPECT_EQ(m_state.disks[0].model, c.model);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DiskClassTest,
    ::testing::Values(
        BusCase{"UsbStick", FakeSysfs::usbStick("sdb", kStickSectors), "Removable Media", "USB", true,
                "SanDisk Cruzer Blade USB Device"},
        BusCase{"UsbStickWithoutVendor", withoutVendor(FakeSysfs::usbStick("sdb", kStickSectors)), "Removable Media",
                "USB", true, "Cruzer Blade USB Device"},
        BusCase{"UsbHardDisk", FakeSysfs::usbHardDisk("sdc", kHddSectors), "External hard disk media", "USB", true,
                "WD Elements 25A2 USB Device"},
        BusCase{"Sata", FakeSysfs::sataDisk("sda", kHddSectors), "Fixed hard disk media", "SATA", false, ""},
        // Memory cards count as removable media even where the kernel says otherwise.
        BusCase{"MemoryCard", FakeSysfs::memoryCard("mmcblk0", 31116288), "Removable Media", "Reserved", true,
                "SD16G Reserved Device"},
        BusCase{"Nvme", FakeSysfs::nvmeDisk("nvme0n1", 1000215216), "Fixed hard disk media", "", false, ""},
        // A bus the name table does not know leaves no double blank in the model.
        BusCase{"LoopWithBackingFile", FakeSysfs::loopDevice("loop0", kStickSectors, "/srv/images/card.img"),
                "Removable Media", "", true, "card.img Device"},
        BusCase{"Virtio", FakeSysfs::virtioDisk("vda", kHddSectors), "Fixed hard disk media", "UNKNOWN", false, ""}),
    [](const auto& p) { return std::string(p.param.name); });

struct QueueCase {
  const char* name;
  bool hook;
  int partitionsAdded;
  bool queued;
};

class PartitionSearchQueueTest : public EnumerationTest, public ::testing::WithParamInterface<QueueCase> {};

TEST_P(PartitionSearchQueueTest, DiskWithoutPartitionItemsIsQueued) {
  const auto& c = GetParam();
  m_sys.add(FakeSysfs::usbStick("sdb", 1000));  // Disk0: no whole cylinder
  m_sys.add(FakeSysfs::usbStick("sdc", kStickSectors));
  std::vector<std::pair<int, TreeItem>> seen;
  PhysicalEnumerationOptions options;
  if (c.hook) {
    options.onDiskListed = [&](const PhysicalDriveRecord& disk, TreeItem item) {
      seen.emplace_back(disk.diskNumber, item);
      return c.partitionsAdded;
    };
  }
  enumerateDisks(queries(), options);

  const auto disks = m_tree.node(m_tree.physicalDrives())->children;
  ASSERT_EQ(disks.size(), 2u);
  if (c.hook) {
    const std::vector<std::pair<int, TreeItem>> expectedSeen = {{0, disks[0]}, {1, disks[1]}};
    EXPECT_EQ(seen, expectedSeen);
  }
  if (!c.queued) {
    EXPECT_TRUE(m_state.partitionSearchQueue.empty());
  } else {
    ASSERT_EQ(m_state.partitionSearchQueue.size(), 2u);
    const auto& r = m_state.partitionSearchQueue[1];
    EXPECT_EQ(r.cylinders, 973u);
    EXPECT_EQ(r.tracksPerCylinder, 255u);
    EXPECT_EQ(r.sectorsPerTrack, 63u);
    EXPECT_EQ(r.diskItem, disks[1]);
    EXPECT_EQ(r.totalSectors, 973u * 16065);
    EXPECT_EQ(r.devicePath, "\\\\.\\PhysicalDrive1");
    EXPECT_EQ(m_state.partitionSearchQueue[0].devicePath, "\\\\.\\PhysicalDrive0");
  }
  const Texts descriptors = {"SanDisk Cruzer Blade USB Device||0 Byte||0||0",
                             "SanDisk Cruzer Blade USB Device||7.45 GB||15631245||1"};
  EXPECT_EQ(m_state.physicalDescriptors, descriptors);
  EXPECT_EQ(m_state.currentDiskDescriptor, descriptors.back());
}

INSTANTIATE_TEST_SUITE_P(Hooks, PartitionSearchQueueTest,
                         ::testing::Values(QueueCase{"NoHook", false, 0, true},
                                           QueueCase{"NoPartitions", true, 0, true},
                                           QueueCase{"Partitions", true, 2, false}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(EnumerationTest, WithoutRefreshTheTreeIsLeftAlone) {
  addMachine();
  int hookCalls = 0;
  PhysicalEnumerationOptions options;
  options.refresh = false;
  options.onDiskListed = [&](const PhysicalDriveRecord&, TreeItem) {
    ++hookCalls;
    return 0;
  };
  enumerateDisks(queries(), options);
  EXPECT_EQ(m_tree.childCount(m_tree.physicalDrives()), 0);
  EXPECT_EQ(hookCalls, 0);
  EXPECT_TRUE(m_state.partitionSearchQueue.empty());
  EXPECT_TRUE(m_state.physicalDescriptors.empty());
  EXPECT_EQ(m_state.disks.size(), 3u);
  EXPECT_EQ(m_state.currentDiskDescriptor, "card.img Device||0 Byte||0||3");
}

TEST_F(EnumerationTest, ListsVolumesOfRemovableAndExternalDisks) {
  addMachine();
  const auto q = queries();
  enumerateDisks(q);
  enumerateVolumes(q);

  const Texts expected = {"D:\\ (9.74 MB - KINGSTON - FAT32)", "E:\\ (1020.00 KB -  - NTFS)",
                          "F:\\ (Unknown Size  -  - Unknown)"};
  EXPECT_EQ(m_tree.childTexts(m_tree.logicalDrives()), expected);
  const Texts descriptors = {"\\\\.\\D:|19952", "\\\\.\\E:|2040", "\\\\.\\F:|0"};
  EXPECT_EQ(m_state.logicalDescriptors, descriptors);
  EXPECT_EQ(m_state.logicalDevicePath, "\\\\.\\F:");
  EXPECT_TRUE(m_state.logicalListed);

  ASSERT_EQ(m_state.volumes.size(), 3u);
  const auto& d = m_state.volumes[0];
  EXPECT_EQ(d.group, "Logical Drives");
  EXPECT_EQ(d.modeName, "Deep Search");
  EXPECT_EQ(d.firstSector, 0u);
  EXPECT_EQ(d.totalSectors, 19952u);
  EXPECT_EQ(d.totalBytes, 2494u * 4096);
  EXPECT_EQ(d.fileSystemName, "FAT32");
  EXPECT_EQ(d.letterColon, "D:");
  EXPECT_EQ(d.label, "KINGSTON");
  EXPECT_EQ(d.sizeText, "9.74 MB");
  EXPECT_EQ(d.freeText, "3.91 MB");
  EXPECT_EQ(d.serialHex, "1A2B3C4D");
  EXPECT_EQ(d.sizeMiB, 0u);
  EXPECT_EQ(d.diskNumber, 1);
  EXPECT_FALSE(d.dynamicDisk);
  EXPECT_EQ(d.diskFirstSector, 2048u);
  EXPECT_EQ(d.diskEndSector, 2048u + 20000);

  const auto& e = m_state.volumes[1];
  EXPECT_EQ(e.freeText, "Unknown Size ");  // NTFS free space is not read from the structures
  EXPECT_EQ(e.serialHex, "55667788");
  EXPECT_EQ(e.diskNumber, 2);

  const auto& f = m_state.volumes[2];
  EXPECT_EQ(f.fileSystemName, "Unknown");
  EXPECT_EQ(f.label, "");
  EXPECT_EQ(f.sizeText, "Unknown Size ");
  EXPECT_EQ(f.freeText, "Unknown Size ");
  EXPECT_EQ(f.serialHex, "0");
  EXPECT_EQ(f.totalSectors, 0u);
  EXPECT_EQ(f.diskNumber, 3);
  EXPECT_EQ(f.diskFirstSector, 8u);
  EXPECT_EQ(f.diskEndSector, 48u);
}

TEST_F(EnumerationTest, FixedVolumesNeedTheirDiskListedAsExternal) {
  addMachine();
  const auto q = queries();
  enumerateVolumes(q);  // before any disk listing: no disk is known to be external
  const Texts expected = {"D:\\ (9.74 MB - KINGSTON - FAT32)", "F:\\ (Unknown Size  -  - Unknown)"};
  EXPECT_EQ(m_tree.childTexts(m_tree.logicalDrives()), expected);
}

TEST_F(EnumerationTest, VolumesAreListedOncePerState) {
  addMachine();
  const auto q = queries();
  enumerateDisks(q);
  enumerateVolumes(q);
  enumerateVolumes(q);
  EXPECT_EQ(m_tree.childCount(m_tree.logicalDrives()), 3);
  EXPECT_EQ(m_state.volumes.size(), 3u);
}

struct FilterCase {
  const char* filter;
  Texts letters;
};

class VolumeFilterTest : public EnumerationTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(VolumeFilterTest, ASingleLetterLeavesThatDriveOut) {
  addMachine();
  const auto q = queries();
  enumerateDisks(q);
  enumerateVolumes(q, GetParam().filter);
  Texts letters;
  for (const auto& v : m_state.volumes) letters.push_back(v.letterColon);
  EXPECT_EQ(letters, GetParam().letters);
}

INSTANTIATE_TEST_SUITE_P(Filters, VolumeFilterTest,
                         ::testing::Values(FilterCase{"ALL", {"D:", "E:", "F:"}}, FilterCase{"D", {"E:", "F:"}},
                                           FilterCase{"e", {"D:", "F:"}}, FilterCase{"C", {"D:", "E:", "F:"}},
                                           FilterCase{"DE", {"D:", "E:", "F:"}}));

TEST_F(EnumerationTest, MountedVolumeSizesComeFromItsFileSystem) {
  addMachine();
  const fs::path mountPoint = m_dir / "USB STICK";
  fs::create_directories(mountPoint);
  test::writeFile(m_sys.mountInfo(), "22 1 252:1 / / rw - ext4 /dev/vda1 rw\n"
                                     "35 22 8:17 / " + (m_dir / "USB\\040STICK").string() +
                                         " rw,nosuid - vfat /dev/sdb1 rw\n");
  // The folder lies on a file system other tests write to at the same time:
  // its free space is compared only when it stayed the same around the listing.
  const auto space = [&] {
    struct statvfs st {};
    EXPECT_EQ(::statvfs(mountPoint.c_str(), &st), 0);
    return std::make_pair(static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize,
                          static_cast<std::uint64_t>(st.f_bfree) * st.f_frsize);
  };
  const auto before = space();

  const auto q = queries();
  enumerateDisks(q);
  enumerateVolumes(q);
  const auto after = space();
  ASSERT_FALSE(m_state.volumes.empty());
  const auto& d = m_state.volumes[0];
  EXPECT_EQ(d.letterColon, "D:");
  EXPECT_EQ(d.totalBytes, before.first);
  EXPECT_EQ(d.sizeText, trim(formatSize(before.first)));
  EXPECT_NE(d.freeText, kUnknownSize);
  if (before.second == after.second) {
    EXPECT_EQ(d.freeText, trim(formatSize(before.second)));
  }
  EXPECT_EQ(d.label, "KINGSTON");  // the label still comes from the boot sector
}

struct ExtentCase {
  const char* letter;
  bool found;
  int disk;
  std::uint64_t first;
  std::uint64_t end;
};

class VolumeExtentsTest : public EnumerationTest, public ::testing::WithParamInterface<ExtentCase> {};

TEST_P(VolumeExtentsTest, GivesTheVolumesDiskAndSectors) {
  addMachine();
  const auto extents = volumeExtents(queries(), GetParam().letter);
  ASSERT_EQ(extents.has_value(), GetParam().found);
  if (!extents) return;
  EXPECT_EQ(extents->diskNumber, GetParam().disk);
  EXPECT_EQ(extents->firstSector, GetParam().first);
  EXPECT_EQ(extents->endSector, GetParam().end);
  EXPECT_FALSE(extents->dynamicDisk);
}

INSTANTIATE_TEST_SUITE_P(Letters, VolumeExtentsTest,
                         ::testing::Values(ExtentCase{"C:", true, 0, 2048, 2048 + 2047},
                                           ExtentCase{"D:", true, 1, 2048, 22048},
                                           ExtentCase{"d:", true, 1, 2048, 22048},
                                           ExtentCase{"E:\\", true, 2, 63, 63 + 2047}, ExtentCase{"F", true, 3, 8, 48},
                                           ExtentCase{"G:", false, 0, 0, 0}, ExtentCase{"", false, 0, 0, 0}));

struct DynamicCase {
  const char* name;
  bool gpt;
  bool ldm;
};

class DynamicDiskTest : public EnumerationTest, public ::testing::WithParamInterface<DynamicCase> {};

// A volume on a disk that also holds a Logical Disk Manager partition is on a dynamic disk.
TEST_P(DynamicDiskTest, LdmPartitionOnTheVolumesDiskSetsTheFlag) {
  const auto& c = GetParam();
  DiskBuilder disk(400);
  if (c.gpt) {
    disk.gptProtective();
    disk.gptEntry(0, ondisk::gpt_type::basicData(), 100, 199);
    disk.gptEntry(1, c.ldm ? ondisk::gpt_type::ldmData() : ondisk::gpt_type::microsoftReserved(), 200, 299);
  } else {
    disk.mbrEntry(0, 0, 0x07, 100, 100);
    disk.mbrEntry(0, 1, c.ldm ? ondisk::kTypeDynamicDisk : 0x0C, 200, 100);
  }
  m_images.push_back(file("disk.img", disk));
  // A second disk keeps its own flag.
  DiskBuilder plain(400);
  plain.mbrEntry(0, 0, 0x07, 100, 100);
  m_images.push_back(file("plain.img", plain));
  const auto q = queries();

  const auto extents = volumeExtents(q, "C:");
  ASSERT_TRUE(extents.has_value());
  EXPECT_EQ(extents->dynamicDisk, c.ldm);
  EXPECT_EQ(extents->diskNumber, 0);
  EXPECT_EQ(extents->firstSector, 100u);
  EXPECT_EQ(extents->endSector, 200u);

  enumerateVolumes(q);
  ASSERT_FALSE(m_state.volumes.empty());
  EXPECT_EQ(m_state.volumes[0].letterColon, "C:");
  EXPECT_EQ(m_state.volumes[0].dynamicDisk, c.ldm);
  EXPECT_FALSE(m_state.volumes.back().dynamicDisk);
  EXPECT_EQ(m_state.volumes.back().diskNumber, 1);
}

INSTANTIATE_TEST_SUITE_P(Tables, DynamicDiskTest,
                         ::testing::Values(DynamicCase{"MbrLdm", false, true}, DynamicCase{"MbrBasic", false, false},
                                           DynamicCase{"GptLdm", true, true}, DynamicCase{"GptBasic", true, false}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(EnumerationTest, ExternalVolumeIsOneOnADiskListedAsExternal) {
  addMachine();
  const auto q = queries();
  EXPECT_FALSE(isExternalVolume(q, "E:\\", m_state));  // nothing listed yet
  enumerateDisks(q);
  const std::vector<std::pair<const char*, bool>> cases = {
      {"C:\\", false}, {"D:\\", false}, {"E:\\", true}, {"e:", true}, {"F:\\", false}, {"G:\\", false}, {"", false}};
  for (const auto& [root, external] : cases) EXPECT_EQ(isExternalVolume(q, root, m_state), external) << root;
}

struct ItemTextCase {
  const char* text;
  int number;
};

class DiskNumberFromItemTextTest : public ::testing::TestWithParam<ItemTextCase> {};

TEST_P(DiskNumberFromItemTextTest, ReadsTheNumberAfterDisk) {
  EXPECT_EQ(diskNumberFromItemText(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Texts, DiskNumberFromItemTextTest,
                         ::testing::Values(ItemTextCase{"Removable Media (Disk1 - 7.45 GB)", 1},
                                           ItemTextCase{"External hard disk media (Disk24 - 931.51 GB)", 24},
                                           ItemTextCase{"Removable Media (Disk0 - 0 Byte)", 0},
                                           ItemTextCase{"X (Disk1000 - 1 GB)", 1000},
                                           ItemTextCase{"X (Disk1001 - 1 GB)", -1},
                                           ItemTextCase{"Removable Media (Disk - 7.45 GB)", -1},
                                           ItemTextCase{"Removable Media (DiskX - 7.45 GB)", -1},
                                           ItemTextCase{"Removable Media (Disk", -1}, ItemTextCase{"(Dis", -1},
                                           ItemTextCase{"Removable Media", -1}, ItemTextCase{"", -1}));

struct BusNameCase {
  std::uint32_t bus;
  const char* name;
};

class BusTypeNameTest : public ::testing::TestWithParam<BusNameCase> {};

TEST_P(BusTypeNameTest, NamesTheBusNumbersTheTableKnows) {
  EXPECT_EQ(busTypeName(GetParam().bus), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Buses, BusTypeNameTest,
    ::testing::Values(BusNameCase{0, "UNKNOWN"}, BusNameCase{1, "SCSI"}, BusNameCase{2, "ATAPI"}, BusNameCase{3, "ATA"},
                      BusNameCase{4, "IEEE 1394"}, BusNameCase{5, "SSA"}, BusNameCase{6, "FIBRE"},
                      BusNameCase{7, "USB"}, BusNameCase{8, "RAID"}, BusNameCase{9, "iSCSI"}, BusNameCase{10, "SAS"},
                      BusNameCase{11, "SATA"}, BusNameCase{12, "Reserved"}, BusNameCase{13, ""}, BusNameCase{14, ""},
                      BusNameCase{15, ""}, BusNameCase{17, ""}, BusNameCase{UINT32_MAX, ""}));

struct MediaClassCase {
  std::uint32_t mediaType;
  const char* busName;
  const char* mediaClass;
};

class MediaClassTextTest : public ::testing::TestWithParam<MediaClassCase> {};

TEST_P(MediaClassTextTest, RemovableOrFixedByBus) {
  EXPECT_EQ(mediaClassText(GetParam().mediaType, GetParam().busName), GetParam().mediaClass);
}

INSTANTIATE_TEST_SUITE_P(Media, MediaClassTextTest,
                         ::testing::Values(MediaClassCase{platform::kMediaRemovable, "USB", "Removable Media"},
                                           MediaClassCase{platform::kMediaRemovable, "SATA", "Removable Media"},
                                           MediaClassCase{platform::kMediaFixed, "USB", "External hard disk media"},
                                           MediaClassCase{platform::kMediaFixed, "SATA", "Fixed hard disk media"},
                                           MediaClassCase{platform::kMediaFixed, "", "Fixed hard disk media"},
                                           MediaClassCase{0, "USB", ""}, MediaClassCase{13, "USB", ""}));

}  // namespace
}  // namespace dravel::storage
