// Writing an NTFS file's content through a Basic Search result: resident
// values, data runs with negative offsets, sparse runs, runs off the volume,
// parts of a stream in extension records, and records that are not there.

#include <gtest/gtest.h>

#include "basic/BasicSearch.h"
#include "support/NtfsImage.h"
#include "support/ResultWalk.h"

namespace dravel::basic {
namespace {

using results::WriteStatus;
using test::MftRecordBuilder;
using Runs = std::vector<std::pair<std::optional<std::int64_t>, std::uint64_t>>;

constexpr std::uint64_t kClusterBytes = 4096;

class MemoryOutput final : public results::ContentOutput {
 public:
  int write(std::span<const std::byte> bytes) override {
    data.insert(data.end(), bytes.begin(), bytes.end());
    return 0;
  }
  std::vector<std::byte> data;
};

test::NtfsVolumeLayout layout() {
  test::NtfsVolumeLayout l;
  l.mftRuns = {{4, 8}};  // records 0 to 31
  return l;
}

struct Volume {
  Volume() : disk(4200), volume(disk, layout()) {
    // Each cluster from 300 on holds bytes that say which cluster it is.
    for (std::uint64_t c = 300; c < 512; ++c) {
      for (std::uint64_t i = 0; i < kClusterBytes; ++i) disk.put8(c * kClusterBytes + i, static_cast<std::uint8_t>(c * 5 + i / 512 + i));
    }
  }

  [[nodiscard]] std::vector<std::byte> clusters(const std::vector<std::optional<std::uint64_t>>& list,
                                                std::uint64_t size) {
    std::vector<std::byte> out;
    for (const auto& c : list) {
      if (!c) {
        out.insert(out.end(), kClusterBytes, std::byte{0});
        continue;
      }
      const auto at = disk.bytes().begin() + static_cast<std::ptrdiff_t>(*c * kClusterBytes);
      out.insert(out.end(), at, at + static_cast<std::ptrdiff_t>(kClusterBytes));
    }
    out.resize(static_cast<std::size_t>(size));
    return out;
  }

  // Scans the volume and writes the file listed at `path` (or `row` when given).
  struct Written {
    results::WriteResult result;
    MemoryOutput out;
  };
  Written write(const std::string& path, std::optional<results::ContentRow> row = std::nullopt) {
    auto search = BasicSearch::create(volume.input(), test::memoryImage(disk.bytes()));
    ScanControl control;
    ScanProgress quiet;
    (void)search->run(control, quiet);
    if (!row) {
      const auto all = test::listEverything(*search);
      const auto it = all.find(path);
      if (it == all.end()) throw std::runtime_error(path + " not listed");
      row = it->second;
    }
    Written w;
    w.result = search->writeContent(*row, w.out, {});
    return w;
  }

  test::DiskBuilder disk;
  test::NtfsVolume volume;
};

MftRecordBuilder fileWithRuns(const std::u16string& name, std::uint64_t size, const Runs& runs) {
  return std::move(MftRecordBuilder(1).fileName(5, name).nonResidentData(size, test::encodeRuns(runs)));
}

struct RunsCase {
  const char* name;
  Runs runs;
  std::uint64_t size;
  std::vector<std::optional<std::uint64_t>> expected;  // clusters, empty: zeros
  std::uint64_t unreadableUnits;
};

void PrintTo(const RunsCase& c, std::ostream* os) { *os << c.name; }

class NtfsRuns : public ::testing::TestWithParam<RunsCase> {};

TEST_P(NtfsRuns, ContentFollowsTheRuns) {
  const auto& c = GetParam();
  Volume v;
  v.volume.put(16, fileWithRuns(u"file.bin", c.size, c.runs));
  const auto w = v.write("file.bin");
  EXPECT_EQ(w.result.status, WriteStatus::Written);
  EXPECT_EQ(w.result.bytes, c.size);
  EXPECT_EQ(w.result.unreadableUnits, c.unreadableUnits);
  EXPECT_EQ(w.out.data, v.clusters(c.expected, c.size));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NtfsRuns,
    ::testing::Values(
        // Offsets relative to the run before: +400, −100, +50.
        RunsCase{"NegativeRelativeOffsets", {{400, 2}, {300, 1}, {350, 1}}, 4 * kClusterBytes - 10,
                 {400, 401, 300, 350}, 0},
        RunsCase{"SparseRunIsZeros", {{300, 1}, {std::nullopt, 2}, {310, 1}}, 4 * kClusterBytes,
                 {300, std::nullopt, std::nullopt, 310}, 0},
        // The volume ends with cluster 511.
        RunsCase{"RunsOffTheVolumeAreZeros", {{510, 1}, {600, 2}}, 3 * kClusterBytes,
                 {510, std::nullopt, std::nullopt}, 2},
        RunsCase{"RunsShorterThanTheSizeArePadded", {{300, 1}}, 2 * kClusterBytes + 1,
                 {300, std::nullopt, std::nullopt}, 2}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(NtfsContent, ResidentValueHasExactlyItsLength) {
  Volume v;
  v.volume.put(16, MftRecordBuilder(1).fileName(5, u"small.txt").residentData(350));
  const auto w = v.write("small.txt");
  EXPECT_EQ(w.result.status, WriteStatus::Written);
  EXPECT_EQ(w.out.data, std::vector<std::byte>(350, std::byte{'x'}));
}

TEST(NtfsContent, OnlyNamedStreamsWriteAnEmptyFile) {
  Volume v;
  v.volume.put(16, MftRecordBuilder(1).fileName(5, u"named.txt").residentData(20, u"Zone.Identifier"));
  const auto w = v.write("named.txt");
  EXPECT_EQ(w.result.status, WriteStatus::Written);
  EXPECT_TRUE(w.out.data.empty());
}

TEST(NtfsContent, StreamPartsFromAnExtensionRecordInVcnOrder) {
  Volume v;
  const std::uint64_t size = 3 * kClusterBytes;
  // The part at VCN 1 is listed before the one at VCN 0.
  v.volume.put(20, MftRecordBuilder(1)
                       .attributeList({{0x30, 20}, {0x80, 21}, {0x80, 20}})
                       .fileName(5, u"spread.bin")
                       .nonResidentData(size, test::encodeRuns({{300, 1}}), {}, 0));
  v.volume.put(21, MftRecordBuilder(1).baseRecord(20).nonResidentData(size, test::encodeRuns({{310, 2}}), {}, 1));
  const auto w = v.write("spread.bin");
  EXPECT_EQ(w.out.data, v.clusters({300, 310, 311}, size));
}

TEST(NtfsContent, RecordThatIsNotThereHasNoContent) {
  Volume v;
  results::ContentRow row;
  row.name = "ghost.txt";
  row.size = 100;
  row.id = 40;
  row.debugSelf = 3000;  // zeros: no "FILE" record
  EXPECT_EQ(v.write("", row).result.status, WriteStatus::NoContent);
}

}  // namespace
}  // namespace dravel::basic
