// Basic Search on NTFS volumes built in memory, record by record: the pass,
// the tree it builds, and the listings that complete file names and sizes.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "basic/BasicSearch.h"
#include "signature/FileTypes.h"
#include "support/DiskBuilder.h"
#include "support/NtfsImage.h"
#include "support/ResultWalk.h"

namespace dravel::basic {
namespace {

using test::DiskBuilder;
using test::MftRecordBuilder;
using test::NtfsVolume;
using test::NtfsVolumeLayout;

constexpr std::uint16_t kFile = 1;
constexpr std::uint16_t kDeletedFile = 0;
constexpr std::uint16_t kFolder = 3;
constexpr std::uint16_t kDeletedFolder = 2;

MftRecordBuilder folder(std::uint32_t parent, std::u16string name, std::uint16_t flags = kFolder) {
  return std::move(MftRecordBuilder(flags).fileName(parent, std::move(name)));
}

MftRecordBuilder file(std::uint32_t parent, std::u16string name, std::size_t size = 10, std::uint16_t flags = kFile) {
  return std::move(MftRecordBuilder(flags).fileName(parent, std::move(name)).residentData(size));
}

NtfsVolumeLayout layout(std::vector<std::pair<std::optional<std::int64_t>, std::uint64_t>> mftRuns = {{4, 8}}) {
  NtfsVolumeLayout l;
  l.mftRuns = std::move(mftRuns);
  return l;
}

struct Scanned {
  std::unique_ptr<BasicSearch> search;
  ScanOutcome outcome;
};

Scanned scan(DiskBuilder& disk, const ScanInput& input, std::uint64_t stopAfter = 0, ScanProgress* progress = nullptr) {
  const auto bytes = std::make_shared<const std::vector<std::byte>>(disk.bytes());
  auto search = BasicSearch::create(input, [bytes] { return std::make_unique<storage::MemorySectorSource>(*bytes); });
  ScanControl control(nullptr, stopAfter);
  ScanProgress quiet;
  Scanned out{std::move(search), {}};
  out.outcome = out.search->run(control, progress != nullptr ? *progress : quiet);
  return out;
}

test::ResultPaths shown(DiskBuilder& disk, const ScanInput& input) { return test::allShown(*scan(disk, input).search); }

std::vector<std::string> keys(const test::ResultPaths& paths) {
  std::vector<std::string> out;
  for (const auto& entry : paths) out.push_back(entry.first);
  return out;
}

TEST(NtfsSearch, BuildsTheTreeAndListsFiles) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  volume.put(16, folder(5, u"Docs"));
  volume.put(17, folder(16, u"Work"));
  volume.put(18, file(16, u"a.txt", 350));
  volume.put(19,
             MftRecordBuilder(kFile).fileName(17, u"big.bin").nonResidentData(1'500'000, test::encodeRuns({{300, 3}})));
  volume.put(20, folder(16, u"Old", kDeletedFolder));
  volume.put(21, file(5, u"gone.txt", 10, kDeletedFile));

  const auto paths = shown(disk, volume.input());
  EXPECT_EQ(keys(paths), (std::vector<std::string>{"$MFT", "Docs", "Docs/Old", "Docs/Work", "Docs/Work/big.bin",
                                                   "Docs/a.txt", "ORV_Miscellaneous", "gone.txt"}));
  const auto* a = test::rowAt(paths, "Docs/a.txt");
  ASSERT_NE(a, nullptr);
  EXPECT_FALSE(a->folder);
  EXPECT_EQ(a->size, 350u);
  EXPECT_EQ(a->type, signature::fileTypeDescription(".txt", "a.txt"));
  EXPECT_EQ(a->id, 18u);
  EXPECT_EQ(a->debugSelf, volume.recordSector(18));
  EXPECT_EQ(a->debugParent, 16u);
  EXPECT_EQ(a->debugTreeItem, 0u);
  EXPECT_FALSE(a->deleted);
  EXPECT_EQ(results::rowDateText(*a), "02-JAN-2020");
  EXPECT_EQ(results::rowTimeText(*a), "03:04:05");
  EXPECT_EQ(test::rowAt(paths, "Docs/Work/big.bin")->size, 1'500'000u);
  EXPECT_TRUE(test::rowAt(paths, "gone.txt")->deleted);
  const auto* old = test::rowAt(paths, "Docs/Old");
  EXPECT_TRUE(old->folder && old->deleted);
  EXPECT_EQ(results::rowDateText(*old), "02-JAN-2020");
  EXPECT_FALSE(test::rowAt(paths, "Docs/Work")->deleted);
}

TEST(NtfsSearch, NamesByNameSpace) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  volume.put(16, MftRecordBuilder(kFile).fileName(5, u"LONGNA~1.TXT", 2).fileName(5, u"long name.txt", 1));
  volume.put(17, MftRecordBuilder(kFile).fileName(5, u"DOSONLY.TXT", 2));
  volume.put(18, MftRecordBuilder(kFile).fileName(5, u"posix:name", 0).fileName(5, u"BOTH.TXT", 3));
  volume.put(19, MftRecordBuilder(kFile).residentData(5));  // no name at all: skipped
  EXPECT_EQ(keys(shown(disk, volume.input())),
            (std::vector<std::string>{"$MFT", "BOTH.TXT", "DOSONLY.TXT", "long name.txt"}));
}

TEST(NtfsSearch, NamesAndSizeThroughAnAttributeListInAnExtensionRecord) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  volume.put(16, folder(5, u"Docs"));
  // The base keeps only its 8.3 name; the long name and the data moved on.
  volume.put(20, MftRecordBuilder(kFile)
                     .attributeList({{0x10, 20}, {0x30, 20}, {0x30, 21}, {0x80, 21}})
                     .fileName(16, u"EXTNAM~1.TXT", 2));
  volume.put(21, MftRecordBuilder(kFile).baseRecord(20).fileName(16, u"ext name.txt").residentData(77));
  // A list naming a record since reused by another file lends nothing.
  volume.put(22, MftRecordBuilder(kFile).attributeList({{0x30, 23}}));
  volume.put(23, MftRecordBuilder(kFile).baseRecord(99).fileName(16, u"stranger.txt").residentData(3));

  const auto paths = shown(disk, volume.input());
  EXPECT_EQ(keys(paths), (std::vector<std::string>{"$MFT", "Docs", "Docs/ext name.txt", "ORV_Miscellaneous"}));
  const auto* ext = test::rowAt(paths, "Docs/ext name.txt");
  ASSERT_NE(ext, nullptr);
  EXPECT_EQ(ext->size, 77u);
  EXPECT_EQ(ext->id, 20u);
}

TEST(NtfsSearch, SizesFromTheUnnamedStream) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  volume.put(16, MftRecordBuilder(kFile).fileName(5, u"resident").residentData(600));
  volume.put(17, MftRecordBuilder(kFile).fileName(5, u"streams only").residentData(50, u"Zone.Identifier"));
  volume.put(18, MftRecordBuilder(kFile)
                     .fileName(5, u"stream first")
                     .residentData(50, u"Zone.Identifier")
                     .nonResidentData(30'002, test::encodeRuns({{400, 8}})));
  volume.put(19, MftRecordBuilder(kFile).fileName(5, u"no data"));
  const auto paths = shown(disk, volume.input());
  EXPECT_EQ(test::rowAt(paths, "resident")->size, 600u);
  EXPECT_EQ(test::rowAt(paths, "streams only")->size, 0u);
  EXPECT_EQ(test::rowAt(paths, "stream first")->size, 30'002u);
  EXPECT_EQ(test::rowAt(paths, "no data")->size, 0u);
}

TEST(NtfsSearch, FoldersFindTheirPlace) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  // Deferred twice over: each waits for a parent that comes later.
  volume.put(16, folder(17, u"Grandchild"));
  volume.put(17, folder(18, u"Child"));
  volume.put(18, folder(5, u"Parent"));
  // A deleted folder whose parent record now holds a file.
  volume.put(19, file(5, u"reused.txt"));
  volume.put(20, folder(19, u"Lost", kDeletedFolder));
  // Two folders that name each other.
  volume.put(21, folder(22, u"Ping"));
  volume.put(22, folder(21, u"Pong"));
  // Files under a folder that is never found appear nowhere.
  volume.put(23, file(30, u"unreachable.txt"));

  const auto paths = shown(disk, volume.input());
  EXPECT_EQ(keys(paths), (std::vector<std::string>{"$MFT", "ORV_Miscellaneous", "ORV_Miscellaneous/Lost",
                                                   "ORV_Miscellaneous/Ping", "ORV_Miscellaneous/Pong", "Parent",
                                                   "Parent/Child", "Parent/Child/Grandchild", "reused.txt"}));
  EXPECT_TRUE(test::rowAt(paths, "ORV_Miscellaneous/Lost")->deleted);
}

TEST(NtfsSearch, FragmentedMftCountsRecordsAcrossExtents) {
  DiskBuilder disk(4200);
  // Records 0-7 at cluster 4, 8-15 at cluster 50, 16-23 at cluster 20.
  NtfsVolume volume(disk, layout({{4, 2}, {50, 2}, {20, 2}}));
  volume.put(9, file(17, u"f.txt"));
  volume.put(12, folder(17, u"sub"));
  volume.put(17, folder(5, u"Frag"));
  const auto paths = shown(disk, volume.input());
  EXPECT_EQ(keys(paths), (std::vector<std::string>{"$MFT", "Frag", "Frag/f.txt", "Frag/sub", "ORV_Miscellaneous"}));
  EXPECT_EQ(test::rowAt(paths, "Frag/f.txt")->debugSelf, 50u * 8 + 2);
  EXPECT_EQ(test::rowAt(paths, "Frag/sub")->id, 12u);
}

TEST(NtfsSearch, SparseMftRunKeepsTheNumbersAfterIt) {
  DiskBuilder disk(4200);
  // Records 8-11 have no clusters; 12-19 lie at cluster 30.
  NtfsVolume volume(disk, layout({{4, 2}, {std::nullopt, 1}, {30, 2}}));
  volume.put(13, folder(5, u"AfterHole"));
  volume.put(14, file(13, u"x.txt"));
  EXPECT_EQ(keys(shown(disk, volume.input())),
            (std::vector<std::string>{"$MFT", "AfterHole", "AfterHole/x.txt", "ORV_Miscellaneous"}));
}

TEST(NtfsSearch, RecordSplitBetweenTwoExtents) {
  DiskBuilder disk(4200);
  NtfsVolumeLayout l = layout({{64, 33}, {200, 31}});
  l.sectorsPerCluster = 1;
  l.mirrorCluster = 300;
  NtfsVolume volume(disk, l);
  // Record 16 begins on sector 96, the last of the first extent, and ends on
  // sector 200; a named stream pushes the size into the second half.
  volume.put(16, MftRecordBuilder(kFile)
                     .fileName(5, u"split.bin")
                     .residentData(500, u"pad")
                     .nonResidentData(123'456, test::encodeRuns({{900, 4}})));
  volume.put(17, folder(5, u"after"));
  const auto paths = shown(disk, volume.input());
  EXPECT_EQ(keys(paths), (std::vector<std::string>{"$MFT", "ORV_Miscellaneous", "after", "split.bin"}));
  EXPECT_EQ(test::rowAt(paths, "split.bin")->size, 123'456u);
}

TEST(NtfsSearch, TornDeletedRecordIsStillRead) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  // The name straddles the first sector's tail, which only the fix-up restores.
  volume.put(16, MftRecordBuilder(kDeletedFolder).residentData(320).fileName(5, u"straddling name 0123"));
  disk.put16(volume.recordSector(16) * 512 + 1022, 0xDEAD);  // the second sector is torn
  EXPECT_EQ(keys(shown(disk, volume.input())),
            (std::vector<std::string>{"$MFT", "ORV_Miscellaneous", "straddling name 0123"}));
}

TEST(NtfsSearch, StopAttachesWhatWasFound) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  volume.put(16, folder(20, u"Kid"));
  volume.put(17, folder(5, u"Early"));
  volume.put(18, file(16, u"k.txt"));
  volume.put(20, folder(5, u"Late"));
  auto scanned = scan(disk, volume.input(), 18);  // records 0 to 17
  EXPECT_TRUE(scanned.outcome.stopped);
  EXPECT_EQ(keys(test::allShown(*scanned.search)),
            (std::vector<std::string>{"$MFT", "Early", "ORV_Miscellaneous", "ORV_Miscellaneous/Kid"}));
}

TEST(NtfsSearch, NoMftGivesRootOnly) {
  struct Case {
    const char* what;
    std::function<void(DiskBuilder&, const NtfsVolume&)> damage;
    bool found;
  };
  const Case cases[] = {
      {"record 0 and its mirror lack FILE",
       [](DiskBuilder& d, const NtfsVolume& v) {
         d.zeroSector(v.mftSector());
         d.zeroSector(200 * 8);
       },
       false},
      {"record 0 without FILE while the mirror has its copy",
       [](DiskBuilder& d, const NtfsVolume& v) {
         for (std::uint64_t i = 0; i < 1024; ++i) d.bytes()[200 * 8 * 512 + i] = d.bytes()[v.mftSector() * 512 + i];
         d.zeroSector(v.mftSector());
       },
       true},
      {"record 0 without a data attribute",
       [](DiskBuilder& d, const NtfsVolume& v) {
         const auto record = MftRecordBuilder(kFile).fileName(5, u"$MFT").build();
         for (std::size_t i = 0; i < record.size(); ++i) d.bytes()[v.mftSector() * 512 + i] = record[i];
       },
       false},
  };
  for (const auto& c : cases) {
    DiskBuilder disk(4200);
    NtfsVolume volume(disk, layout());
    volume.put(16, folder(5, u"Docs"));
    c.damage(disk, volume);
    auto scanned = scan(disk, volume.input());
    EXPECT_EQ(scanned.outcome.nothingFound, !c.found) << c.what;
    scanned.search->readTree([&](const results::ResultTree& tree) {
      ASSERT_FALSE(tree.empty()) << c.what;
      EXPECT_EQ(tree.node(tree.firstItem()).text, "Root") << c.what;
      EXPECT_EQ(tree.node(tree.firstItem()).children.size(), c.found ? 2u : 0u) << c.what;
    });
  }
}

TEST(NtfsSearch, DeviceThatDoesNotOpenFindsNothing) {
  ScanInput input{"memory", "NTFS", 0, 4096};
  auto search = BasicSearch::create(input, [] { return std::unique_ptr<storage::SectorSource>(); });
  ScanControl control;
  ScanProgress progress;
  EXPECT_TRUE(search->run(control, progress).nothingFound);
}

class Recorder final : public ScanProgress {
 public:
  void stage(ScanStage s) override { stages.push_back(s); }
  void total(std::uint64_t shown, std::uint64_t low, std::uint64_t high) override {
    totals.push_back({shown, low, high});
  }
  void position(std::uint64_t bar, std::uint64_t number) override { positions.emplace_back(bar, number); }
  std::vector<ScanStage> stages;
  std::vector<std::array<std::uint64_t, 3>> totals;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> positions;
};

TEST(NtfsSearch, ReportsProgressPerRecord) {
  DiskBuilder disk(4200);
  // 8 records, a hole of 8, 8 more: the hole moves the bar without reads.
  NtfsVolume volume(disk, layout({{4, 2}, {std::nullopt, 2}, {30, 2}}));
  Recorder progress;
  (void)scan(disk, volume.input(), 0, &progress);
  EXPECT_EQ(progress.stages, (std::vector<ScanStage>{ScanStage::Validating, ScanStage::Scanning,
                                                     ScanStage::SearchingLost, ScanStage::Storing}));
  ASSERT_EQ(progress.totals.size(), 1u);
  EXPECT_EQ(progress.totals[0], (std::array<std::uint64_t, 3>{48, 0, 48}));
  ASSERT_EQ(progress.positions.size(), 17u);
  EXPECT_EQ(progress.positions[0], (std::pair<std::uint64_t, std::uint64_t>{2, 1}));
  EXPECT_EQ(progress.positions[8], (std::pair<std::uint64_t, std::uint64_t>{32, 8}));
  EXPECT_EQ(progress.positions.back(), (std::pair<std::uint64_t, std::uint64_t>{48, 16}));
}

TEST(NtfsSearch, ListingStopsAtThePopulationStop) {
  DiskBuilder disk(4200);
  NtfsVolume volume(disk, layout());
  volume.put(16, file(5, u"a.txt"));
  auto scanned = scan(disk, volume.input());
  class Rows final : public ListingSink {
   public:
    void row(const results::ContentRow&) override { ++count; }
    int count = 0;
  } rows;
  const std::atomic<bool> stop{true};
  results::NodeId root = results::kNoNode;
  scanned.search->readTree([&](const results::ResultTree& tree) { root = tree.firstItem(); });
  EXPECT_FALSE(scanned.search->list(root, stop, rows));
  EXPECT_EQ(rows.count, 0);
}

}  // namespace
}  // namespace dravel::basic
