// Writing a FAT file's content: which clusters are taken (first FAT, second
// FAT, consecutive clusters), how the last cluster is cut, and what a bad
// sector, a cluster past the partition, Stop, Skip and a failing output do.

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <set>

#include "basic/FatContent.h"
#include "support/FatImage.h"

namespace dravel::basic::fat {
namespace {

using results::WriteStatus;

constexpr std::uint64_t kFirst = 64;
constexpr std::uint64_t kDataSectors = 8192;
constexpr std::uint32_t kStart = 10;  // every file here begins at cluster 10

class MemoryOutput final : public results::ContentOutput {
 public:
  int write(std::span<const std::byte> bytes) override {
    if (failWith != 0) return failWith;
    data.insert(data.end(), bytes.begin(), bytes.end());
    ++writes;
    return 0;
  }
  std::vector<std::byte> data;
  int failWith = 0;
  int writes = 0;
};

// Reads from memory; any request touching a bad sector fails whole.
class FlakySource final : public storage::SectorSource {
 public:
  explicit FlakySource(std::vector<std::byte> bytes) : m_inner(std::move(bytes)) {}
  bool read(std::uint64_t first, std::uint32_t count, std::span<std::byte> buffer) override {
    ++requests;
    for (const auto bad : badSectors) {
      if (bad >= first && bad < first + count) return false;
    }
    return m_inner.read(first, count, buffer);
  }
  std::set<std::uint64_t> badSectors;
  int requests = 0;

 private:
  storage::MemorySectorSource m_inner;
};

test::FatLayout layoutFor(bool fat32) {
  test::FatLayout l;
  l.reserved = fat32 ? 32 : 4;
  l.sectorsPerFat = fat32 ? 64 : 32;
  l.sectorsPerCluster = fat32 ? 8 : 4;
  l.rootCluster = 2;
  return l;
}

struct Volume {
  explicit Volume(bool isFat32)
      : fat32(isFat32),
        layout(layoutFor(isFat32)),
        disk(kFirst + 600 + kDataSectors + 64),
        image(disk, kFirst, layout, isFat32) {
    // Every sector of the data area tells where it is: cluster and sector in it.
    for (std::uint32_t c = 2; c < 2 + kDataSectors / image.spc(); ++c) {
      for (std::uint32_t s = 0; s < image.spc(); ++s) {
        const std::uint64_t at = (image.clusterSector(c) + s) * 512;
        for (std::uint64_t i = 0; i < 512; ++i) disk.put8(at + i, static_cast<std::uint8_t>(c * 7 + s * 3 + i));
      }
    }
  }

  [[nodiscard]] FatVolume volume() const {
    partitions::PartitionRecord r;
    r.spf = layout.sectorsPerFat;
    r.spc = image.spc();
    r.cluster0Start = image.cluster0();
    r.firstFat = image.firstFat();
    r.secondFat = image.firstFat() + layout.sectorsPerFat;
    r.rootStartSec = 2;
    return FatVolume{r, fat32, kFirst, image.cluster0() + 2ull * image.spc() + kDataSectors};
  }
  [[nodiscard]] std::uint64_t clusterBytes() const { return std::uint64_t{image.spc()} * 512; }
  [[nodiscard]] std::uint32_t endOfChain() const { return fat32 ? 0x0FFFFFFF : 0xFFFF; }

  // FAT entry `cluster` of one FAT only (0 first, 1 second).
  void setEntry(int which, std::uint32_t cluster, std::uint32_t value) {
    const std::uint64_t fat = image.firstFat() + static_cast<std::uint64_t>(which) * layout.sectorsPerFat;
    if (fat32) {
      disk.put32(fat * 512 + cluster * 4ull, value);
    } else {
      disk.put16(fat * 512 + cluster * 2ull, static_cast<std::uint16_t>(value));
    }
  }
  // Links `clusters` in one FAT; `last` goes after the last one.
  void link(int which, const std::vector<std::uint32_t>& clusters, std::uint32_t last) {
    for (std::size_t i = 0; i < clusters.size(); ++i) {
      setEntry(which, clusters[i], i + 1 < clusters.size() ? clusters[i + 1] : last);
    }
  }

  // The content of `clusters` in order, cut at `size`.
  [[nodiscard]] std::vector<std::byte> expected(const std::vector<std::uint32_t>& clusters, std::uint64_t size) {
    std::vector<std::byte> out;
    for (const auto c : clusters) {
      const auto at = disk.bytes().begin() + static_cast<std::ptrdiff_t>(image.clusterSector(c) * 512);
      out.insert(out.end(), at, at + static_cast<std::ptrdiff_t>(clusterBytes()));
    }
    out.resize(static_cast<std::size_t>(size));
    return out;
  }

  struct Written {
    results::WriteResult result;
    MemoryOutput out;
    int requests = 0;
  };
  Written write(std::uint64_t size, std::uint32_t first = kStart, const std::set<std::uint64_t>& bad = {},
                const results::WriteControl& control = {}) {
    FlakySource source(disk.bytes());
    source.badSectors = bad;
    results::ContentRow row;
    row.size = size;
    row.id = first;
    row.debugSelf = first;
    Written w;
    w.result = writeFatFile(volume(), source, row, w.out, control);
    w.requests = source.requests;
    return w;
  }

  bool fat32;
  test::FatLayout layout;
  test::DiskBuilder disk;
  test::FatImage image;
};

enum class Chain { Sound, Cleared, Loops, TooLong, Broken };

struct ChainCase {
  const char* name;
  Chain first;   // the chain from cluster 10 in the first FAT
  Chain second;  // and in the second
  std::uint32_t clustersOfSize;
  ClusterSource expectedSource;
  std::vector<std::uint32_t> expectedClusters;
};

void PrintTo(const ChainCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::uint32_t> kFragmented{kStart, 12, 11};

void writeChain(Volume& v, int which, Chain chain) {
  switch (chain) {
    case Chain::Sound: v.link(which, kFragmented, v.endOfChain()); break;
    case Chain::Cleared: v.setEntry(which, kStart, 0); break;
    case Chain::Loops: v.link(which, kFragmented, kStart); break;
    case Chain::TooLong: v.link(which, {kStart, 12, 11, 14}, v.endOfChain()); break;
    case Chain::Broken: v.link(which, {kStart, 12}, 0); break;  // a cleared entry in the middle
  }
}

class FatChains : public ::testing::TestWithParam<std::tuple<bool, ChainCase>> {};

TEST_P(FatChains, TakeTheExactChainElseConsecutiveClusters) {
  const auto& [fat32, c] = GetParam();
  Volume v(fat32);
  writeChain(v, 0, c.first);
  writeChain(v, 1, c.second);
  const std::uint64_t size = c.clustersOfSize * v.clusterBytes() - 100;
  FlakySource source(v.disk.bytes());
  const std::uint64_t needed = c.clustersOfSize;
  const auto found = fileClusters(v.volume(), source, kStart, needed);
  EXPECT_EQ(found.from, c.expectedSource);
  const auto w = v.write(size);
  EXPECT_EQ(w.result.status, WriteStatus::Written);
  EXPECT_EQ(w.result.bytes, size);
  EXPECT_EQ(w.out.data, v.expected(c.expectedClusters, size));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FatChains,
    ::testing::Combine(
        ::testing::Bool(),
        ::testing::Values(
            ChainCase{"FirstFat", Chain::Sound, Chain::Sound, 3, ClusterSource::FirstFat, kFragmented},
            ChainCase{"FirstFatDamagedSecondHoldsIt", Chain::Broken, Chain::Sound, 3, ClusterSource::SecondFat,
                      kFragmented},
            ChainCase{"DeletedChainClearedIsConsecutive", Chain::Cleared, Chain::Cleared, 3,
                      ClusterSource::Consecutive, {kStart, 11, 12}},
            ChainCase{"LoopingChainIsGivenUp", Chain::Loops, Chain::Loops, 3, ClusterSource::Consecutive,
                      {kStart, 11, 12}},
            ChainCase{"ChainLongerThanTheSizeIsGivenUp", Chain::TooLong, Chain::TooLong, 3,
                      ClusterSource::Consecutive, {kStart, 11, 12}},
            // A deleted file of one cluster: its cleared entry ends a chain of one.
            ChainCase{"OneClusterWithClearedEntry", Chain::Cleared, Chain::Cleared, 1, ClusterSource::FirstFat,
                      {kStart}})),
    [](const auto& param) {
      return std::string(std::get<0>(param.param) ? "Fat32" : "Fat16") + std::get<1>(param.param).name;
    });

TEST(FatContent, EndOfChainMarksBelowTheLastValue) {
  for (const bool fat32 : {false, true}) {
    Volume v(fat32);
    v.link(0, kFragmented, fat32 ? 0x0FFFFFF8 : 0xFFF8);
    v.link(1, kFragmented, fat32 ? 0x0FFFFFF8 : 0xFFF8);
    FlakySource source(v.disk.bytes());
    EXPECT_EQ(fileClusters(v.volume(), source, kStart, 3).from, ClusterSource::FirstFat) << fat32;
  }
}

TEST(FatContent, EmptyFileWritesNothing) {
  Volume v(true);
  const auto w = v.write(0, 0);
  EXPECT_EQ(w.result.status, WriteStatus::Written);
  EXPECT_TRUE(w.out.data.empty());
  EXPECT_EQ(w.requests, 0);
}

TEST(FatContent, LastClusterIsCutAtTheSize) {
  Volume v(false);
  v.link(0, {kStart, 11}, v.endOfChain());
  const std::uint64_t size = v.clusterBytes() + 5;
  const auto w = v.write(size);
  EXPECT_EQ(w.out.data, v.expected({kStart, 11}, size));
}

TEST(FatContent, UnreadableClusterIsZerosInItsPlace) {
  Volume v(true);
  v.link(0, kFragmented, v.endOfChain());
  const std::uint64_t size = 3 * v.clusterBytes();
  // The second sector of cluster 12, the file's second cluster.
  const auto w = v.write(size, kStart, {v.image.clusterSector(12) + 1});
  auto expected = v.expected(kFragmented, size);
  std::fill(expected.begin() + static_cast<std::ptrdiff_t>(v.clusterBytes()),
            expected.begin() + static_cast<std::ptrdiff_t>(2 * v.clusterBytes()), std::byte{0});
  EXPECT_EQ(w.result.status, WriteStatus::Written);
  EXPECT_EQ(w.result.unreadableUnits, 1u);
  EXPECT_EQ(w.out.data, expected);
}

TEST(FatContent, ClustersPastThePartitionAreZeros) {
  Volume v(false);
  const std::uint32_t last = 2 + static_cast<std::uint32_t>(kDataSectors / v.image.spc()) - 1;
  const std::uint64_t size = 3 * v.clusterBytes();
  const auto w = v.write(size, last);  // a deleted file: consecutive clusters run off the end
  auto expected = v.expected({last}, v.clusterBytes());
  expected.resize(static_cast<std::size_t>(size));
  EXPECT_EQ(w.out.data, expected);
  EXPECT_EQ(w.result.unreadableUnits, 2u);
}

TEST(FatContent, LargeFileIsReadInLargeRequests) {
  Volume v(true);
  const std::uint64_t size = 6ull << 20;  // 6 MiB: 1536 clusters of 4 KiB, consecutive
  const auto w = v.write(size, kStart);
  EXPECT_EQ(w.out.data.size(), size);
  // The chain walk reads a FAT block per FAT; the data takes one request per MiB.
  EXPECT_LE(w.requests, 2 * 2 + 6);
  EXPECT_LE(w.out.writes, 6);
}

TEST(FatContent, StopSkipAndOutputFailure) {
  Volume v(false);
  std::atomic<bool> raised{true};
  results::WriteControl abort;
  abort.abort = &raised;
  results::WriteControl skip;
  skip.skip = &raised;
  EXPECT_EQ(v.write(5000, kStart, {}, abort).result.status, WriteStatus::Aborted);
  EXPECT_EQ(v.write(5000, kStart, {}, skip).result.status, WriteStatus::Skipped);

  FlakySource source(v.disk.bytes());
  results::ContentRow row;
  row.size = 5000;
  row.debugSelf = kStart;
  MemoryOutput full;
  full.failWith = ENOSPC;
  const auto result = writeFatFile(v.volume(), source, row, full, {});
  EXPECT_EQ(result.status, WriteStatus::OutputFailed);
  EXPECT_EQ(result.outputError, ENOSPC);
}

}  // namespace
}  // namespace dravel::basic::fat
