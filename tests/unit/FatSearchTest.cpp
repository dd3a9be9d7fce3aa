// Basic Search on FAT16 and FAT32 volumes built in memory: the folders the
// directory cluster scan finds, the names the root and parent directories
// give them, the listings, and what damage, a stop or a missing device do.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>

#include "support/ResultWalk.h"
#include "support/FatImage.h"
#include "basic/FatSearch.h"
#include "signature/FileTypes.h"

namespace dravel::basic {
namespace {

using results::ContentRow;
using test::DirectoryWriter;
using test::FatEntry;

constexpr std::uint64_t kFirst = 64;
constexpr std::uint16_t kFolderDate = 0x4E21;  // 2019-01-01
constexpr std::uint16_t kFolderTime = 0x7BC5;  // 15:30:10

test::FatLayout layoutFor(bool fat32) {
  test::FatLayout l;
  if (fat32) {
    l.reserved = 32;
    l.sectorsPerFat = 16;  // 2048 clusters
    l.sectorsPerCluster = 1;
    l.rootCluster = 2;
  } else {
    l.reserved = 4;
    l.sectorsPerFat = 32;
    l.sectorsPerCluster = 4;
    l.rootEntries = 512;
  }
  return l;
}

// A disk holding one FAT volume from sector 64, `dataSectors` of data area,
// and room past the partition's end.
struct Disk {
  explicit Disk(bool isFat32, std::uint64_t dataSectors = 2048, bool boot = true)
      : Disk(isFat32, layoutFor(isFat32), dataSectors, boot) {}
  Disk(bool isFat32, const test::FatLayout& layout, std::uint64_t dataSectors, bool boot = true)
      : fat32(isFat32),
        disk(kFirst + 400 + dataSectors + 1024),
        image(disk, kFirst, layout, isFat32, boot),
        end(image.cluster0() + 2ull * image.spc() + dataSectors) {}

  [[nodiscard]] ScanInput input() const { return {"\\\\.\\PhysicalDrive9", fat32 ? "FAT32" : "FAT16", kFirst, end}; }
  [[nodiscard]] SourceFactory sources() { return test::memoryImage(disk.bytes()); }

  // FAT32: the root over clusters 2 and 3; FAT16: the root area.
  [[nodiscard]] std::vector<std::uint64_t> root() {
    if (!fat32) return image.rootSectors();
    image.chain({2, 3});
    return image.sectorsOf({2, 3});
  }
  // The sectors of a directory cluster after its "." and ".." entries.
  DirectoryWriter folder(std::uint32_t cluster, std::uint32_t parent) {
    image.directoryCluster(cluster, parent, kFolderDate, kFolderTime);
    return DirectoryWriter(image, image.sectorsOf({cluster}), 2);
  }

  bool fat32;
  test::DiskBuilder disk;
  test::FatImage image;
  std::uint64_t end;
};

struct Ran {
  std::unique_ptr<BasicSearch> search;
  ScanOutcome outcome;
};

Ran scan(const ScanInput& input, SourceFactory sources, ScanControl control = ScanControl{},
         ScanProgress* progress = nullptr) {
  Ran ran{BasicSearch::create(input, std::move(sources)), {}};
  ScanProgress silent;
  ran.outcome = ran.search->run(control, progress != nullptr ? *progress : silent);
  return ran;
}

Ran scan(Disk& d, ScanControl control = ScanControl{}) { return scan(d.input(), d.sources(), control); }

std::string twoDigits(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

std::set<std::string> keysOf(const std::map<std::string, ContentRow>& rows) {
  std::set<std::string> keys;
  for (const auto& [path, row] : rows) keys.insert(path);
  return keys;
}

std::set<std::string> pathSet(BasicSearch& search) {
  const auto paths = test::treePaths(search);
  return {paths.begin(), paths.end()};
}

std::set<std::string> deletedOf(const std::map<std::string, ContentRow>& rows) {
  std::set<std::string> keys;
  for (const auto& [path, row] : rows) {
    if (row.deleted) keys.insert(path);
  }
  return keys;
}

// The tree most tests read: named and lost folders, deleted entries, long
// names, names the check refuses.
void writeStandardTree(Disk& d) {
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"README  TXT", 0x20, 40, 1200});
  root.add(FatEntry{"DOCUME~1", 0x10, 10}, u"Documents");
  root.add(FatEntry{"OLDLOG  TXT", 0x20, 46, 2900, 0x5A67, 0x6000, true});
  root.add(FatEntry{"DELETE~1JPG", 0x20, 47, 24874, 0x5A67, 0x6000, true}, u"Deleted photo.jpg", true);
  root.add(FatEntry{"OLDSTU~1", 0x10, 20, 0, 0x5A67, 0x6000, true}, u"Old Stuff", true);
  root.add(FatEntry{"USBSTICK   ", 0x08});
  root.add(FatEntry{"CAF\xE9    TXT", 0x20, 48, 10});
  root.add(FatEntry{"\x80URO    TXT", 0x20, 49, 10});
  root.add(FatEntry{"MAKEFILETXT", 0x20, 41, 10}, u"Makefile");
  // An alias in the writer's OEM code page (0x90 is É there) beside a long
  // name is listed under the long name; a forbidden character is not.
  root.add(FatEntry{"CAF\x90~1 TXT", 0x20, 50, 10}, u"Caf\u00E9 menu.txt");
  root.add(FatEntry{"BAD?~1  TXT", 0x20, 51, 10}, u"Bad alias.txt");

  DirectoryWriter documents = d.folder(10, 0);
  documents.add(FatEntry{"REPORT~1", 0x10, 11}, u"Reports 2023");
  documents.add(FatEntry{"BUDGET~1CSV", 0x20, 43, 30000}, u"Budget 2023.csv");
  d.folder(11, 10).add(FatEntry{"Q1      TXT", 0x20, 42, 4700});
  d.folder(20, 0).add(FatEntry{"SCANS", 0x10, 21});
  d.folder(21, 20).add(FatEntry{"SCAN001 BMP", 0x20, 44, 5814});
  // Its parent, cluster 25, holds no directory.
  d.folder(30, 25).add(FatEntry{"LOST    TXT", 0x20, 45, 10});
}

class FatSearchBoth : public testing::TestWithParam<bool> {};

TEST_P(FatSearchBoth, FindsNamesAndLostFolders) {
  Disk d(GetParam());
  writeStandardTree(d);
  auto ran = scan(d);
  EXPECT_TRUE(ran.outcome.message.empty());
  EXPECT_FALSE(ran.outcome.stopped);
  EXPECT_FALSE(ran.outcome.nothingFound);
  const auto rows = test::listEverything(*ran.search);
  const std::set<std::string> expected = {"README.TXT",
                                          "Documents",
                                          "Documents/Reports 2023",
                                          "Documents/Reports 2023/Q1.TXT",
                                          "Documents/Budget 2023.csv",
                                          "_LDLOG.TXT",
                                          "Deleted photo.jpg",
                                          "Old Stuff",
                                          "Old Stuff/SCANS",
                                          "Old Stuff/SCANS/SCAN001.BMP",
                                          "USBSTICK",
                                          "\u20ACURO.TXT",
                                          "Makefile.TXT",
                                          "Caf\u00E9 menu.txt",
                                          "ORV_Miscellaneous",
                                          "ORV_Miscellaneous/DIR5",
                                          "ORV_Miscellaneous/DIR5/LOST.TXT"};
  EXPECT_EQ(keysOf(rows), expected);
  // A folder under a deleted folder is shown deleted once its parent is
  // listed, and so is a file in it, whatever its own entry says.
  const std::set<std::string> deleted = {"_LDLOG.TXT", "Deleted photo.jpg", "Old Stuff", "Old Stuff/SCANS",
                                         "Old Stuff/SCANS/SCAN001.BMP"};
  EXPECT_EQ(deletedOf(rows), deleted);
}

TEST_P(FatSearchBoth, TreeBuildingNamesNestedFoldersBeforeAnyListing) {
  Disk d(GetParam());
  writeStandardTree(d);
  auto ran = scan(d);
  EXPECT_EQ(pathSet(*ran.search), (std::set<std::string>{"Documents", "Documents/Reports 2023", "Old Stuff",
                                                         "Old Stuff/SCANS", "ORV_Miscellaneous",
                                                         "ORV_Miscellaneous/DIR5"}));
  ran.search->readTree([](const results::ResultTree& tree) {
    EXPECT_EQ(tree.node(tree.firstItem()).text, "Root");
    EXPECT_EQ(tree.node(tree.firstItem()).image, results::kRootImage);
    for (const auto& record : tree.folders()) {
      const bool shouldBeExpanded = !tree.node(record.treeItem).children.empty() || record.name == "DIR5";
      EXPECT_EQ(record.expanded, shouldBeExpanded) << record.name;
    }
  });
}

TEST_P(FatSearchBoth, RowsCarryTheEntry) {
  Disk d(GetParam());
  writeStandardTree(d);
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);

  const ContentRow& readme = rows.at("README.TXT");
  EXPECT_FALSE(readme.folder);
  EXPECT_EQ(readme.type, signature::fileTypeDescription(".TXT", "README.TXT"));
  EXPECT_EQ(readme.size, 1200u);
  EXPECT_EQ(readme.id, 40u);
  EXPECT_EQ(readme.debugSelf, 40u);
  EXPECT_EQ(readme.shortName, "README.TXT");
  EXPECT_EQ(results::rowDateText(readme), "07-MAR-2025");
  EXPECT_EQ(results::rowTimeText(readme), "12:00:00");

  EXPECT_EQ(rows.at("Deleted photo.jpg").shortName, "_ELETE~1.JPG");
  EXPECT_EQ(rows.at("Deleted photo.jpg").size, 24874u);

  const ContentRow& documents = rows.at("Documents");
  EXPECT_TRUE(documents.folder);
  EXPECT_EQ(documents.id, 10u);
  EXPECT_EQ(documents.debugParent, 0u);
  EXPECT_EQ(results::rowDateText(documents), "01-JAN-2019");
  EXPECT_EQ(results::rowTimeText(documents), "15:30:10");
  EXPECT_EQ(rows.at("ORV_Miscellaneous/DIR5").debugParent, results::kOrphanFolderId);
}

TEST_P(FatSearchBoth, ListingReportsTheNamesItGives) {
  Disk d(GetParam());
  writeStandardTree(d);
  auto ran = scan(d);
  results::NodeId root = results::kNoNode;
  ran.search->readTree([&root](const results::ResultTree& tree) { root = tree.firstItem(); });
  test::RowCollector collector;
  const std::atomic<bool> stop{false};
  ASSERT_TRUE(ran.search->list(root, stop, collector));
  std::set<std::string> renamed;
  for (const auto& change : collector.changes) renamed.insert(change.name + (change.deleted ? " (deleted)" : ""));
  EXPECT_EQ(renamed, (std::set<std::string>{"Documents", "Old Stuff (deleted)"}));
}

// The same cluster named twice: a live folder made in a deleted folder's
// place, and a deleted file whose cluster a folder took. The live folder
// entry names it.
TEST_P(FatSearchBoth, LiveFolderEntryWinsOverDeletedOnesForTheSameCluster) {
  Disk d(GetParam());
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"OLDNAME", 0x10, 10, 0, 0x5A67, 0x6000, true});
  root.add(FatEntry{"NEWNAME", 0x10, 10});
  root.add(FatEntry{"GONE    TXT", 0x20, 10, 100, 0x5A67, 0x6000, true});
  root.add(FatEntry{"LATER", 0x10, 10, 0, 0x5A67, 0x6000, true});
  DirectoryWriter sub = d.folder(10, 0);
  sub.add(FatEntry{"INNER", 0x10, 11});
  d.folder(11, 10);
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);
  ASSERT_TRUE(rows.contains("NEWNAME")) << testing::PrintToString(keysOf(rows));
  EXPECT_TRUE(rows.contains("NEWNAME/INNER"));
  EXPECT_FALSE(rows.at("NEWNAME").deleted);
  EXPECT_TRUE(rows.at("_ONE.TXT").deleted);
}

// The long name begins at the end of the directory's first cluster and the
// short entry opens its second cluster, which lies elsewhere on the disk.
// The sector just before that second cluster holds another name's piece.
TEST(FatSearch, LongNameCrossesIntoTheDirectorysPreviousCluster) {
  Disk d(true);
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"PROJEC~1", 0x10, 10}, u"Projects");
  d.image.directoryCluster(10, 0);
  d.image.chain({10, 50});
  DirectoryWriter projects(d.image, d.image.sectorsOf({10, 50}), 2);
  for (int i = 0; i < 12; ++i) projects.add(FatEntry{"FILLER" + twoDigits(i) + "TXT", 0x20, 100, 1});
  projects.add(FatEntry{"SUMMAR~1TXT", 0x20, 60, 5200}, u"Summary of the year.txt");
  ASSERT_EQ(projects.slot(), 17u);  // pieces at 14 and 15, the short entry first in cluster 50
  const auto stray = test::longNameEntryBytes(FatEntry{"WRONG~1 TXT"}, u"Wrong name");
  for (std::size_t i = 0; i < stray[0].size(); ++i) {
    d.disk.put8(d.image.clusterSector(49) * 512 + 15 * 32 + i, stray[0][i]);
  }
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);
  EXPECT_TRUE(rows.contains("Projects/Summary of the year.txt")) << testing::PrintToString(keysOf(rows));
}

// An end marker at the directory's first entry: the FAT16 root area goes on
// in its next sector, a cluster chain ends there.
TEST_P(FatSearchBoth, EndMarkerAtTheFirstEntry) {
  Disk d(GetParam());
  auto sectors = d.root();
  DirectoryWriter root(d.image, sectors, 16);  // the second sector
  root.add(FatEntry{"LATER   TXT", 0x20, 40, 10});
  root.add(FatEntry{"LATERDIR", 0x10, 10});
  d.folder(10, 0);
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);
  if (GetParam()) {
    // The tree building's root pass reads every sector of the root; the listing stops at the marker.
    EXPECT_EQ(keysOf(rows), (std::set<std::string>{"ORV_Miscellaneous", "LATERDIR"}));
  } else {
    EXPECT_EQ(keysOf(rows), (std::set<std::string>{"ORV_Miscellaneous", "LATER.TXT", "LATERDIR"}));
  }
}

TEST_P(FatSearchBoth, EndMarkerInASubfolderEndsItsListing) {
  Disk d(GetParam());
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"SUB", 0x10, 10});
  DirectoryWriter sub = d.folder(10, 0);
  sub.add(FatEntry{"FIRST   TXT", 0x20, 40, 10});
  sub.end();
  sub.add(FatEntry{"AFTER   TXT", 0x20, 41, 10});
  DirectoryWriter nextSector(d.image, d.image.sectorsOf({10}), d.image.spc() > 1 ? 16 : 15);
  nextSector.add(FatEntry{"LATER   TXT", 0x20, 42, 10});
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);
  EXPECT_EQ(keysOf(rows), (std::set<std::string>{"ORV_Miscellaneous", "SUB", "SUB/FIRST.TXT"}));
}

struct ChainCase {
  const char* label;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> fat;  // cluster → FAT value
  std::size_t files;                                          // listed in SUB
};

class FatChainTest : public testing::TestWithParam<ChainCase> {};

// SUB (cluster 10) is full of file entries, with no end marker, so only
// the chain decides where its listing ends. Cluster 11 is full of files too.
TEST_P(FatChainTest, ChainEndsTheDirectory) {
  Disk d(true, 600);
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"SUB", 0x10, 10});
  DirectoryWriter sub = d.folder(10, 0);
  for (int i = 0; i < 14; ++i) sub.add(FatEntry{"A" + twoDigits(i) + "     TXT", 0x20, 100, 1});
  DirectoryWriter more(d.image, d.image.sectorsOf({11}));
  for (int i = 0; i < 16; ++i) more.add(FatEntry{"B" + twoDigits(i) + "     TXT", 0x20, 100, 1});
  for (const auto& [cluster, value] : GetParam().fat) d.image.setFat(cluster, value);
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);
  const auto files = std::count_if(rows.begin(), rows.end(),
                                   [](const auto& r) { return r.first.starts_with("SUB/"); });
  EXPECT_EQ(static_cast<std::size_t>(files), GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, FatChainTest,
    testing::Values(ChainCase{"end_of_chain", {{10, 0x0FFFFFFF}}, 14},
                    ChainCase{"two_clusters", {{10, 11}, {11, 0x0FFFFFFF}}, 30},
                    ChainCase{"loop_of_two", {{10, 11}, {11, 10}}, 30},
                    ChainCase{"loop_on_itself", {{10, 10}}, 14},
                    ChainCase{"beyond_the_partition", {{10, 700}}, 14},
                    ChainCase{"beyond_the_fat", {{10, 5000}}, 14},
                    ChainCase{"free_cluster", {{10, 0}}, 14},
                    ChainCase{"reserved_value_1", {{10, 1}}, 14},
                    ChainCase{"top_bits_set", {{10, 0x1000000B}}, 14}),
    [](const auto& p) { return std::string(p.param.label); });

// The partition ends in the middle of a 512-sector block; what lies after
// it on the disk is not part of the scan, even when it looks like the next
// directory cluster.
TEST(FatSearch, PartitionEndBoundsTheScan) {
  Disk d(true, 100);
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"INSIDE", 0x10, 10});
  root.add(FatEntry{"BEYOND", 0x10, 105});
  d.folder(10, 0).add(FatEntry{"FAR     TXT", 0x20, 5000, 1});
  d.image.directoryCluster(105, 0);
  auto ran = scan(d);
  const auto rows = test::listEverything(*ran.search);
  EXPECT_EQ(keysOf(rows), (std::set<std::string>{"ORV_Miscellaneous", "INSIDE", "INSIDE/FAR.TXT"}));
}

// Clusters of every size: a 512-sector block holds 512 of them or 4; the
// partition ends inside a block.
class FatClusterSizeTest : public testing::TestWithParam<std::uint8_t> {};

TEST_P(FatClusterSizeTest, FindsDirectoriesAcrossBlocks) {
  const std::uint8_t spc = GetParam();
  const std::uint32_t perBlock = 512 / spc;
  // The first cluster, the last of the first block, the first of the
  // second, the last of the third.
  const std::set<std::uint32_t> clusters = {3, 1 + perBlock, 2 + perBlock, 1 + 3 * perBlock};
  const std::uint64_t dataSectors = std::uint64_t{3 * perBlock} * spc + 3;
  test::FatLayout layout = layoutFor(false);
  layout.sectorsPerCluster = spc;
  layout.sectorsPerFat = 128;  // so that cluster 0 of 64 KiB clusters still lies after the disk's start
  Disk d(false, layout, dataSectors);
  DirectoryWriter root(d.image, d.root());
  std::set<std::string> expected = {"ORV_Miscellaneous"};
  for (const std::uint32_t cluster : clusters) {
    const std::string name = "D" + std::to_string(cluster);
    root.add(FatEntry{name, 0x10, cluster});
    d.folder(cluster, 0);
    expected.insert(name);
  }
  auto ran = scan(d);
  EXPECT_EQ(pathSet(*ran.search), expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FatClusterSizeTest, testing::Values(1, 2, 8, 64, 128),
                         [](const auto& p) { return "Spc" + std::to_string(p.param); });

// FAT32 writers disagree on what ".." holds for a folder under the root: 0
// or the root's own cluster. Both mean the root.
TEST(FatSearch, Fat32DotDotNamingTheRootClusterMeansTheRoot) {
  Disk d(true);
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"ZERO", 0x10, 10});
  root.add(FatEntry{"ROOTCLUS", 0x10, 11});
  d.folder(10, 0);
  d.folder(11, 2);
  auto ran = scan(d);
  EXPECT_EQ(pathSet(*ran.search), (std::set<std::string>{"ORV_Miscellaneous", "ZERO", "ROOTCLUS"}));
}

// Two folders that name each other as parent never reach the root: both go
// under the orphan folder, once.
TEST_P(FatSearchBoth, FoldersThatNameEachOtherAsParentAreLost) {
  Disk d(GetParam());
  d.folder(10, 11).add(FatEntry{"B", 0x10, 11});
  d.folder(11, 10).add(FatEntry{"A", 0x10, 10});
  auto ran = scan(d);
  const auto paths = test::treePaths(*ran.search);
  EXPECT_EQ(std::count_if(paths.begin(), paths.end(), [](const std::string& p) { return p.starts_with("ORV_Miscellaneous/"); }),
            2);
}

// Pseudo-random bytes over the root, the FAT and the data area, with a few
// real directory clusters among them: the scan and every listing end.
TEST_P(FatSearchBoth, GarbageEverywhereEndsCleanly) {
  Disk d(GetParam(), 4096);
  std::uint32_t state = 0x12345678;
  const std::uint64_t from = d.image.firstFat() * 512;
  for (std::uint64_t at = from; at < d.end * 512; ++at) {
    state = state * 1664525u + 1013904223u;
    d.disk.put8(at, static_cast<std::uint8_t>(state >> 24));
  }
  for (std::uint32_t cluster = 57; cluster < 400; cluster += 37) d.image.directoryCluster(cluster, cluster - 37);
  d.image.setFat(0, d.fat32 ? 0x0FFFFFF8 : 0xFFF8);
  auto ran = scan(d);
  EXPECT_TRUE(ran.outcome.message.empty());
  const auto rows = test::listEverything(*ran.search);
  EXPECT_TRUE(rows.contains("ORV_Miscellaneous"));
}

// Boot sector (and on FAT32 its backup) zeroed: the parameters come from
// two directory clusters and the result is the same as with the boot sector.
TEST_P(FatSearchBoth, ParameterSearchRecoversAVolumeWithoutBootSector) {
  Disk healthy(GetParam());
  writeStandardTree(healthy);
  Disk damaged(GetParam(), 2048, false);
  writeStandardTree(damaged);

  auto expected = scan(healthy);
  auto ran = scan(damaged);
  EXPECT_TRUE(ran.outcome.message.empty());
  EXPECT_EQ(keysOf(test::listEverything(*ran.search)), keysOf(test::listEverything(*expected.search)));

  const auto& found = dynamic_cast<FatSearch&>(*ran.search).volume();
  const auto& computed = dynamic_cast<FatSearch&>(*expected.search).volume();
  ASSERT_TRUE(found && computed);
  EXPECT_EQ(found->record.spc, computed->record.spc);
  EXPECT_EQ(found->record.spf, computed->record.spf);
  EXPECT_EQ(found->record.cluster0Start, computed->record.cluster0Start);
  EXPECT_EQ(found->record.firstFat, computed->record.firstFat);
  EXPECT_EQ(found->record.secondFat, computed->record.secondFat);
  EXPECT_EQ(found->record.rootStartSec, computed->record.rootStartSec);
  EXPECT_EQ(found->record.reserveSecStart, computed->record.reserveSecStart);
}

struct NoParamsCase {
  const char* label;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> folders;  // where a cluster's dot entries are, what "." names
};

class FatNoParametersTest : public testing::TestWithParam<NoParamsCase> {};

TEST_P(FatNoParametersTest, EndsWithTheMessageAndAnEmptyTree) {
  Disk d(true, 2048, false);
  for (const auto& [cluster, named] : GetParam().folders) {
    d.image.entryAt(d.image.clusterSector(cluster), 0, FatEntry{".", 0x10, named});
    d.image.entryAt(d.image.clusterSector(cluster), 1, FatEntry{"..", 0x10, 0});
  }
  auto ran = scan(d);
  EXPECT_EQ(ran.outcome.message, kParamsNotFoundMessage);
  EXPECT_TRUE(ran.outcome.nothingFound);
  EXPECT_FALSE(ran.outcome.stopped);
  EXPECT_TRUE(test::treePaths(*ran.search).empty());
  EXPECT_TRUE(test::listEverything(*ran.search).empty());
  EXPECT_FALSE(dynamic_cast<FatSearch&>(*ran.search).volume());
}

INSTANTIATE_TEST_SUITE_P(
    Witnesses, FatNoParametersTest,
    testing::Values(NoParamsCase{"no_directory", {}}, NoParamsCase{"one_directory", {{10, 10}}},
                    // Cluster numbers that fall while the sectors rise fit no volume.
                    NoParamsCase{"numbers_backwards", {{20, 40}, {30, 30}}},
                    // 10 sectors for 3 clusters is no whole cluster size.
                    NoParamsCase{"no_whole_cluster_size", {{20, 20}, {30, 23}}},
                    // 4 sectors per cluster would put cluster 2 before the partition.
                    NoParamsCase{"cluster_two_before_the_partition", {{20, 100}, {30, 102}}}),
    [](const auto& p) { return std::string(p.param.label); });

// A folder in the first block whose parent lies in the second: a stop after
// one block shows it under the orphan folder; a full scan under its parent.
TEST(FatSearch, StopAfterABlockBuildsThePartialTree) {
  Disk d(true, 1500);
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"OUTER", 0x10, 600});
  d.folder(600, 0).add(FatEntry{"INNER", 0x10, 10});
  d.folder(10, 600);

  auto full = scan(d);
  EXPECT_FALSE(full.outcome.stopped);
  EXPECT_EQ(pathSet(*full.search), (std::set<std::string>{"ORV_Miscellaneous", "OUTER", "OUTER/INNER"}));

  auto partial = scan(d, ScanControl(nullptr, 1));
  EXPECT_TRUE(partial.outcome.stopped);
  EXPECT_EQ(pathSet(*partial.search), (std::set<std::string>{"ORV_Miscellaneous", "ORV_Miscellaneous/DIR1"}));

  const std::atomic<bool> stopFlag{true};
  auto stopped = scan(d, ScanControl(&stopFlag));
  EXPECT_TRUE(stopped.outcome.stopped);
  EXPECT_EQ(pathSet(*stopped.search), pathSet(*partial.search));
}

TEST(FatSearch, StopDuringTheParameterSearchEndsWithNothing) {
  Disk d(true, 2048, false);
  writeStandardTree(d);
  const std::atomic<bool> stopFlag{true};
  auto ran = scan(d, ScanControl(&stopFlag));
  EXPECT_TRUE(ran.outcome.stopped);
  EXPECT_TRUE(ran.outcome.message.empty());
  EXPECT_TRUE(ran.outcome.nothingFound);
  EXPECT_TRUE(test::treePaths(*ran.search).empty());
}

// Fails every read that touches one sector.
class FailingSource final : public storage::SectorSource {
 public:
  FailingSource(std::vector<std::byte> bytes, std::uint64_t bad) : m_inner(std::move(bytes)), m_bad(bad) {}
  bool read(std::uint64_t first, std::uint32_t count, std::span<std::byte> buffer) override {
    if (first <= m_bad && m_bad < first + count) return false;
    return m_inner.read(first, count, buffer);
  }

 private:
  storage::MemorySectorSource m_inner;
  std::uint64_t m_bad;
};

TEST(FatSearch, UnreadableBlockIsSkippedAndLaterClustersKeepTheirNumbers) {
  Disk d(true, 1500);
  DirectoryWriter root(d.image, d.root());
  root.add(FatEntry{"FIRST", 0x10, 10});
  root.add(FatEntry{"SECOND", 0x10, 600});
  d.folder(10, 0);
  d.folder(600, 0).add(FatEntry{"INSIDE  TXT", 0x20, 700, 10});
  const std::uint64_t bad = d.image.clusterSector(100);
  SourceFactory sources = [bytes = d.disk.bytes(), bad]() -> std::unique_ptr<storage::SectorSource> {
    return std::make_unique<FailingSource>(bytes, bad);
  };
  auto ran = scan(d.input(), sources);
  EXPECT_EQ(keysOf(test::listEverything(*ran.search)),
            (std::set<std::string>{"ORV_Miscellaneous", "SECOND", "SECOND/INSIDE.TXT"}));
}

TEST(FatSearch, DeviceThatDoesNotOpenFindsNothing) {
  Disk d(false);
  writeStandardTree(d);
  auto ran = scan(d.input(), [] { return std::unique_ptr<storage::SectorSource>{}; });
  EXPECT_TRUE(ran.outcome.nothingFound);
  EXPECT_TRUE(ran.outcome.message.empty());
  EXPECT_TRUE(test::listEverything(*ran.search).empty());
}

// The device goes away after the scan: listings find nothing, and say so
// by listing no files, not by failing.
TEST(FatSearch, ListingsWithoutTheDeviceListNoFiles) {
  Disk d(false);
  writeStandardTree(d);
  // Readers stay open between uses, so a device that goes away fails their
  // reads (as a pulled USB stick does), not only new opens.
  class VanishingSource final : public storage::SectorSource {
   public:
    VanishingSource(std::vector<std::byte> bytes, std::shared_ptr<bool> present)
        : m_image(std::move(bytes)), m_present(std::move(present)) {}
    bool read(std::uint64_t first, std::uint32_t count, std::span<std::byte> buffer) override {
      return *m_present && m_image.read(first, count, buffer);
    }

   private:
    storage::MemorySectorSource m_image;
    std::shared_ptr<bool> m_present;
  };
  auto image = std::make_shared<std::vector<std::byte>>(d.disk.bytes());
  auto present = std::make_shared<bool>(true);
  SourceFactory sources = [image, present]() -> std::unique_ptr<storage::SectorSource> {
    if (!*present) return nullptr;
    return std::make_unique<VanishingSource>(*image, present);
  };
  auto ran = scan(d.input(), sources);
  *present = false;
  const auto rows = test::listEverything(*ran.search);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const auto& r) { return !r.second.folder; }), 0);
  EXPECT_TRUE(rows.contains("Documents/Reports 2023"));
}

class StageRecorder final : public ScanProgress {
 public:
  void stage(ScanStage s) override { stages.push_back(s); }
  void total(std::uint64_t shown, std::uint64_t low, std::uint64_t high) override {
    if (stages.back() == ScanStage::Scanning || stages.back() == ScanStage::CalculatingParams) {
      totals.push_back({shown, low, high});
    }
  }
  void position(std::uint64_t bar, std::uint64_t shown) override {
    if (stages.back() == ScanStage::Scanning) scanPositions.push_back(bar);
    if (stages.back() == ScanStage::CalculatingParams) ++paramPositions;
    EXPECT_EQ(bar, shown);
  }
  std::vector<ScanStage> stages;
  std::vector<std::array<std::uint64_t, 3>> totals;
  std::vector<std::uint64_t> scanPositions;
  std::uint64_t paramPositions = 0;
};

TEST(FatSearch, ReportsItsStagesAndBlocks) {
  Disk d(true, 1100);
  writeStandardTree(d);
  StageRecorder progress;
  auto ran = scan(d.input(), d.sources(), ScanControl{}, &progress);
  const std::uint64_t start = d.image.clusterSector(2);
  EXPECT_EQ(progress.stages, (std::vector<ScanStage>{ScanStage::Validating, ScanStage::Scanning,
                                                     ScanStage::SearchingLost, ScanStage::Storing}));
  EXPECT_EQ(progress.totals, (std::vector<std::array<std::uint64_t, 3>>{{d.end, start, d.end}}));
  EXPECT_EQ(progress.scanPositions, (std::vector<std::uint64_t>{start, start + 512, start + 1024}));
}

TEST(FatSearch, ParameterSearchReportsEverySectorItReads) {
  Disk d(true, 600, false);
  writeStandardTree(d);
  StageRecorder progress;
  auto ran = scan(d.input(), d.sources(), ScanControl{}, &progress);
  ASSERT_GE(progress.stages.size(), 2u);
  EXPECT_EQ(progress.stages[1], ScanStage::CalculatingParams);
  ASSERT_FALSE(progress.totals.empty());
  EXPECT_EQ(progress.totals.front(), (std::array<std::uint64_t, 3>{d.end, kFirst, d.end}));
  // The search ends at the second directory cluster (cluster 11's first sector).
  EXPECT_EQ(progress.paramPositions, d.image.clusterSector(11) - kFirst + 1);
}

INSTANTIATE_TEST_SUITE_P(FatKinds, FatSearchBoth, testing::Values(false, true),
                         [](const auto& p) { return std::string(p.param ? "Fat32" : "Fat16"); });

}  // namespace
}  // namespace dravel::basic
