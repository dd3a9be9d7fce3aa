#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ondisk/PartitionTableLayout.h"
#include "platform/DeviceNamespace.h"
#include "support/DiskBuilder.h"
#include "support/FakeSysfs.h"
#include "support/TempDir.h"

namespace dravel::platform {
namespace {

namespace fs = std::filesystem;
using test::DiskBuilder;
using test::FakeSysfs;

class DeviceNamespaceTest : public ::testing::Test {
 protected:
  // An image file holding the builder's disk.
  fs::path image(const std::string& name, const DiskBuilder& disk) const {
    const fs::path file = m_dir / name;
    disk.writeTo(file);
    return file;
  }
  fs::path blankImage(const std::string& name, std::uint64_t sectors = 64) const {
    return image(name, DiskBuilder(sectors));
  }

  test::TempDir m_dir;
  FakeSysfs m_sys{m_dir / "root"};
};

std::vector<std::string> nodeNames(const DeviceNamespace& ns) {
  std::vector<std::string> out;
  for (const auto& d : ns.disks()) out.push_back(std::to_string(d.number) + "=" + d.node.filename().string());
  return out;
}

TEST_F(DeviceNamespaceTest, NumbersBlockDevicesInNameOrderThenImagesInTheOrderGiven) {
  m_sys.add(FakeSysfs::usbStick("sdc", 1000));
  m_sys.add(FakeSysfs::sataDisk("sda", 1000));
  m_sys.add(FakeSysfs::usbStick("sdaa", 1000));
  m_sys.add(FakeSysfs::usbHardDisk("sdb", 1000));
  m_sys.add(FakeSysfs::memoryCard("mmcblk0", 1000));
  m_sys.add(FakeSysfs::nvmeDisk("nvme0n1", 1000));
  const auto b = blankImage("b.img", 10);
  const auto a = blankImage("a.img", 20);

  const DeviceNamespace ns(m_sys.options({b, a}));
  const std::vector<std::string> expected = {"0=sda",     "1=sdb",     "2=sdc",  "3=sdaa",
                                             "4=nvme0n1", "5=mmcblk0", "6=b.img", "7=a.img"};
  EXPECT_EQ(nodeNames(ns), expected);
  EXPECT_TRUE(ns.problems().empty());

  const auto img = ns.disk(7);
  ASSERT_TRUE(img.has_value());
  EXPECT_TRUE(img->isImage);
  EXPECT_EQ(img->node, a);
  EXPECT_EQ(img->product, "a.img");
  EXPECT_EQ(img->sizeBytes, 20u * 512);
  EXPECT_TRUE(img->removable);
  EXPECT_EQ(img->bus, BusType::FileBackedVirtual);
  EXPECT_TRUE(img->devNumbers.empty());
  EXPECT_FALSE(ns.disk(8).has_value());
}

TEST_F(DeviceNamespaceTest, ImagesOnlyHidesTheBlockDevices) {
  m_sys.add(FakeSysfs::sataDisk("sda", 1000));
  m_sys.add(FakeSysfs::usbStick("sdb", 1000));
  auto options = m_sys.options({blankImage("b.img"), blankImage("a.img")});
  options.imagesOnly = true;
  const DeviceNamespace ns(options);
  const std::vector<std::string> expected = {"0=b.img", "1=a.img"};
  EXPECT_EQ(nodeNames(ns), expected);
}

TEST_F(DeviceNamespaceTest, ImageGivenAsARelativePathIsKeptAbsolute) {
  const auto file = blankImage("rel.img");
  const fs::path cwd = fs::current_path();
  fs::current_path(m_dir.path());
  const DeviceNamespace ns(DeviceOptions{{"rel.img"}, true});
  fs::current_path(cwd);
  const auto d = ns.disk(0);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->node, file);
  EXPECT_EQ(d->sizeBytes, 64u * 512);
}

struct VolumeRow {
  char letter;
  int disk;
  int partition;
  std::uint64_t first;
  std::uint64_t count;
  std::string node;  // file name of the node
  std::uint64_t nodeOffset;
  std::string devNumbers;
  bool removable;
};

void expectVolumes(const DeviceNamespace& ns, const std::vector<VolumeRow>& expected) {
  const auto volumes = ns.volumes();
  ASSERT_EQ(volumes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& v = volumes[i];
    const auto& e = expected[i];
    SCOPED_TRACE(testing::Message() << "volume " << e.letter);
    EXPECT_EQ(v.letter, e.letter);
    EXPECT_EQ(v.diskNumber, e.disk);
    EXPECT_EQ(v.partitionNumber, e.partition);
    EXPECT_EQ(v.firstSector, e.first);
    EXPECT_EQ(v.sectorCount, e.count);
    EXPECT_EQ(v.node.filename().string(), e.node);
    EXPECT_EQ(v.nodeOffset, e.nodeOffset);
    EXPECT_EQ(v.devNumbers, e.devNumbers);
    EXPECT_EQ(v.removable, e.removable);
  }
}

TEST_F(DeviceNamespaceTest, LettersFromCInDiskAndPartitionOrder) {
  // Disk 0: an internal disk whose table is not readable here; the kernel's
  // partitions decide, and its extended container (2 sectors) is no volume.
  auto sata = FakeSysfs::sataDisk("sda", 100000);
  sata.partitions = {{"sda1", 1, 2048, 1000, "8:1", {}},
                     {"sda2", 2, 4096, 2, "8:2", {}},
                     {"sda5", 5, 6144, 500, "8:5", {}}};
  m_sys.add(sata);

  // Disk 1: a stick formatted without a partition table.
  DiskBuilder whole(400);
  whole.fat32(0, test::FatLayout{.reserved = 32, .sectorsPerFat = 8, .totalSectors = 400});
  auto stick = FakeSysfs::usbStick("sdb", 400);
  stick.dev = "8:16";
  stick.node = image("sdb.img", whole);
  m_sys.add(stick);

  // Disk 2: a GPT disk; the kernel shows the Microsoft reserved partition too.
  DiskBuilder gpt(400);
  gpt.gptProtective();
  gpt.gptEntry(0, ondisk::gpt_type::microsoftReserved(), 34, 99);
  gpt.gptEntry(1, ondisk::gpt_type::basicData(), 100, 299);
  auto hdd = FakeSysfs::usbHardDisk("sdc", 400);
  hdd.node = image("sdc.img", gpt);
  hdd.partitions = {{"sdc1", 1, 34, 66, "8:33", {}}, {"sdc2", 2, 100, 200, "8:34", {}}};
  m_sys.add(hdd);

  // Disk 3: an image with a primary and a logical volume, read through the image file.
  DiskBuilder mbr(400);
  mbr.mbrEntry(0, 0, 0x0C, 100, 50);
  mbr.mbrEntry(0, 1, ondisk::kTypeExtendedLba, 200, 100);
  mbr.mbrEntry(200, 0, 0x07, 10, 40);
  const auto file = image("disk.img", mbr);

  const DeviceNamespace ns(m_sys.options({file}));
  expectVolumes(ns, {{'C', 0, 1, 2048, 1000, "sda1", 0, "8:1", false},
                     {'D', 0, 5, 6144, 500, "sda5", 0, "8:5", false},
                     {'E', 1, 0, 0, 400, "sdb", 0, "8:16", true},
                     {'F', 2, 2, 100, 200, "sdc2", 0, "8:34", false},
                     {'G', 3, 1, 100, 50, "disk.img", 100 * 512, "", true},
                     {'H', 3, 5, 210, 40, "disk.img", 210 * 512, "", true}});
  EXPECT_EQ(ns.volume('H')->node, file);
  EXPECT_FALSE(ns.volume('I').has_value());
  EXPECT_FALSE(ns.volume('B').has_value());

  const auto table = ns.partitionTable(2);
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->style, SystemPartitionTable::Style::Gpt);
  EXPECT_FALSE(ns.partitionTable(4).has_value());
}

TEST_F(DeviceNamespaceTest, LettersEndAtZ) {
  // 30 logical volumes on one image: C: to Z: is 24 letters.
  DiskBuilder disk(200);
  disk.mbrEntry(0, 0, ondisk::kTypeExtendedLba, 10, 100);
  for (std::uint32_t i = 0; i < 30; ++i) {
    const std::uint64_t ebr = 10 + 2 * i;
    disk.mbrEntry(ebr, 0, 0x07, 1, 1);
    if (i + 1 < 30) disk.mbrEntry(ebr, 1, ondisk::kTypeExtendedChs, 2 * (i + 1), 2);
  }
  DiskBuilder second(400);
  second.mbrEntry(0, 0, 0x0C, 100, 50);
  const DeviceNamespace ns(DeviceOptions{{image("many.img", disk), image("second.img", second)}, true});
  const auto volumes = ns.volumes();
  ASSERT_EQ(volumes.size(), 24u);
  EXPECT_EQ(volumes.front().letter, 'C');
  EXPECT_EQ(volumes.back().letter, 'Z');
  EXPECT_EQ(volumes.back().partitionNumber, 5 + 23);
  for (const auto& v : volumes) EXPECT_EQ(v.diskNumber, 0);
}

TEST_F(DeviceNamespaceTest, DiskWithoutMediumHasNoVolumes) {
  auto reader = FakeSysfs::usbStick("sdb", 0);
  reader.node = blankImage("empty.img", 0);
  m_sys.add(reader);
  const DeviceNamespace ns(m_sys.options());
  ASSERT_EQ(ns.disks().size(), 1u);
  EXPECT_EQ(ns.disks()[0].sizeBytes, 0u);
  EXPECT_TRUE(ns.volumes().empty());
}

struct ResolveCase {
  const char* path;
  const char* node;  // nullptr: does not resolve
  std::uint64_t offset;
  std::uint64_t length;
};

class ResolveTest : public DeviceNamespaceTest, public ::testing::WithParamInterface<ResolveCase> {};

TEST_P(ResolveTest, MapsDevicePathsToNodeSlices) {
  auto stick = FakeSysfs::usbStick("sdb", 1000);
  stick.partitions = {{"sdb1", 1, 8, 900, "8:17", {}}};
  m_sys.add(stick);
  DiskBuilder mbr(400);
  mbr.mbrEntry(0, 0, 0x0C, 100, 50);
  const DeviceNamespace ns(m_sys.options({image("disk.img", mbr)}));

  const auto target = ns.resolve(GetParam().path);
  if (GetParam().node == nullptr) {
    EXPECT_FALSE(target.has_value());
    return;
  }
  ASSERT_TRUE(target.has_value());
  EXPECT_EQ(target->node.filename().string(), GetParam().node);
  EXPECT_EQ(target->offset, GetParam().offset);
  EXPECT_EQ(target->length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ResolveTest,
    ::testing::Values(ResolveCase{"\\\\.\\PhysicalDrive0", "sdb", 0, 1000 * 512},
                      ResolveCase{"\\\\.\\PHYSICALDRIVE1", "disk.img", 0, 400 * 512},
                      ResolveCase{"\\\\.\\physicaldrive1", "disk.img", 0, 400 * 512},
                      ResolveCase{"\\\\.\\C:", "sdb1", 0, 900 * 512},
                      ResolveCase{"\\\\.\\d:", "disk.img", 100 * 512, 50 * 512},
                      // Well-formed names of devices that are not there.
                      ResolveCase{"\\\\.\\PhysicalDrive2", nullptr, 0, 0},
                      ResolveCase{"\\\\.\\PhysicalDrive25", nullptr, 0, 0},
                      ResolveCase{"\\\\.\\E:", nullptr, 0, 0},
                      // Not device names at all.
                      ResolveCase{"\\\\.\\PhysicalDrive26", nullptr, 0, 0},
                      ResolveCase{"\\\\.\\PhysicalDrive", nullptr, 0, 0},
                      ResolveCase{"\\\\.\\PhysicalDrive-1", nullptr, 0, 0},
                      ResolveCase{"\\\\.\\C:\\", nullptr, 0, 0}, ResolveCase{"C:", nullptr, 0, 0},
                      ResolveCase{"/dev/sdb", nullptr, 0, 0}, ResolveCase{"", nullptr, 0, 0}));

TEST_F(DeviceNamespaceTest, ImagesThatCannotBeUsedAreProblemsButKeepTheirNumber) {
  const fs::path missing = m_dir / "missing.img";
  const fs::path folder = m_dir / "folder.img";
  fs::create_directories(folder);
  const auto good = blankImage("good.img");
  const DeviceNamespace ns(DeviceOptions{{missing, folder, good}, true});

  const auto problems = ns.problems();
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find(missing.string()), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find(folder.string()), std::string::npos) << problems[1];
  EXPECT_NE(problems[1].find("not a regular file"), std::string::npos) << problems[1];

  // Numbers follow the order given, so the good image is Disk2 whatever happens to the others.
  const std::vector<std::string> expected = {"0=missing.img", "1=folder.img", "2=good.img"};
  EXPECT_EQ(nodeNames(ns), expected);
  EXPECT_EQ(ns.disk(0)->sizeBytes, 0u);
  EXPECT_EQ(ns.disk(1)->sizeBytes, 0u);
  EXPECT_EQ(ns.disk(2)->sizeBytes, 64u * 512);
}

TEST_F(DeviceNamespaceTest, OnlyTwentyFiveDisksAreExamined) {
  m_sys.add(FakeSysfs::usbStick("sda", 1000));
  std::vector<fs::path> images;
  for (int i = 0; i < 25; ++i) images.push_back(blankImage("disk" + std::to_string(i) + ".img", 1));
  const DeviceNamespace ns(m_sys.options(images));

  const auto disks = ns.disks();
  ASSERT_EQ(disks.size(), 25u);
  EXPECT_EQ(disks.back().number, 24);
  EXPECT_EQ(disks.back().node, images[23]);
  const auto problems = ns.problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find(images[24].string()), std::string::npos) << problems[0];
  EXPECT_FALSE(ns.resolve("\\\\.\\PhysicalDrive25").has_value());
}

TEST_F(DeviceNamespaceTest, RescanSeesNewDevicesAndKeepsEarlierAnswersWhole) {
  m_sys.add(FakeSysfs::usbStick("sdb", 1000));
  DeviceNamespace ns(m_sys.options());
  const auto before = ns.disks();
  m_sys.add(FakeSysfs::usbStick("sda", 2000));
  ns.rescan();
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].sysName, "sdb");
  const std::vector<std::string> expected = {"0=sda", "1=sdb"};
  EXPECT_EQ(nodeNames(ns), expected);
}

}  // namespace
}  // namespace dravel::platform
