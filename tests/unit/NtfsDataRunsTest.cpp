// Data runs and the MFT extents made from them: what a damaged run list
// yields, and where each record of a fragmented MFT lies.

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <tuple>

#include "ondisk/DataRuns.h"
#include "ondisk/MftExtents.h"
#include "support/NtfsImage.h"

namespace dravel::ondisk {
namespace {

ByteView view(const std::vector<std::uint8_t>& bytes) {
  return ByteView(std::span<const std::byte>(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()));
}

using RunPair = std::pair<std::optional<std::int64_t>, std::uint64_t>;

std::vector<RunPair> asPairs(const std::vector<DataRun>& runs) {
  std::vector<RunPair> out;
  for (const auto& r : runs) out.emplace_back(r.startCluster, r.clusterCount);
  return out;
}

// A gtest name from a case's description.
std::string caseName(const char* what) {
  std::string name;
  for (const char c : std::string(what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

struct RunsCase {
  const char* what;
  std::vector<std::uint8_t> pairs;
  std::vector<RunPair> expected;
};

class DecodeDataRuns : public ::testing::TestWithParam<RunsCase> {};

TEST_P(DecodeDataRuns, Decodes) { EXPECT_EQ(asPairs(decodeDataRuns(view(GetParam().pairs))), GetParam().expected); }

const std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Runs, DecodeDataRuns,
    ::testing::Values(RunsCase{"one run", {0x21, 0x10, 0x00, 0x01, 0x00}, {{256, 16}}},
                      RunsCase{"a negative offset goes back from the previous start",
                               {0x11, 0x04, 0x64, 0x11, 0x02, 0xF6, 0x00},
                               {{100, 4}, {90, 2}}},
                      RunsCase{"an eight-byte negative offset",
                               {0x81, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00},
                               {{-1, 1}}},
                      RunsCase{"a sparse run has no start and does not move the base",
                               {0x11, 0x04, 0x64, 0x01, 0x08, 0x11, 0x02, 0x0A, 0x00},
                               {{100, 4}, {std::nullopt, 8}, {110, 2}}},
                      RunsCase{"a length field running past the end keeps the runs before",
                               {0x11, 0x04, 0x64, 0x42, 0x01},
                               {{100, 4}}},
                      RunsCase{"no terminating zero: the buffer's end ends the list", {0x11, 0x04, 0x64}, {{100, 4}}},
                      RunsCase{"a field of nine bytes ends the list", {0x11, 0x04, 0x64, 0x19, 0x01}, {{100, 4}}},
                      RunsCase{"a missing length field ends the list", {0x11, 0x04, 0x64, 0x10, 0x01}, {{100, 4}}},
                      RunsCase{"a start that would overflow ends the list",
                               {0x81, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x81,
                                0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00},
                               {{kMin64, 1}}},
                      RunsCase{"an empty list", {0x00, 0x11, 0x04, 0x64}, {}}),
    [](const auto& param) { return caseName(param.param.what); });

TEST(DecodeDataRunsLimit, StopsAtTheCap) {
  std::vector<std::uint8_t> pairs;
  for (std::size_t i = 0; i < kMaxDataRuns + 10; ++i) pairs.insert(pairs.end(), {0x01, 0x01});
  pairs.push_back(0);
  EXPECT_EQ(decodeDataRuns(view(pairs)).size(), kMaxDataRuns);
}

TEST(AttributeDataRuns, PairsOffsetPastTheAttributeGivesNothing) {
  std::vector<std::uint8_t> attribute(72, 0);
  attribute[32] = 200;  // the mapping pairs would begin past the attribute
  EXPECT_TRUE(attributeDataRuns(view(attribute)).empty());
  attribute[32] = 64;
  attribute[64] = 0x11;
  attribute[65] = 0x02;
  attribute[66] = 0x05;
  EXPECT_EQ(asPairs(attributeDataRuns(view(attribute))), (std::vector<RunPair>{{5, 2}}));
}

// (first sector, sectors, readable); the first sector of an unreadable extent is 0.
using Extent = std::tuple<std::uint64_t, std::uint64_t, bool>;

struct ExtentCase {
  const char* what;
  std::vector<DataRun> runs;
  std::vector<Extent> expected;
};

std::vector<Extent> asTuples(const std::vector<MftExtent>& extents) {
  std::vector<Extent> out;
  for (const auto& e : extents) out.emplace_back(e.readable ? e.firstSector : 0, e.sectors, e.readable);
  return out;
}

class MftExtentsFromRuns : public ::testing::TestWithParam<ExtentCase> {};

// Volume at sector 1000, 8 sectors per cluster, 4000 sectors long.
const VolumeBounds kVolume{1000, 8, 5000};

TEST_P(MftExtentsFromRuns, Maps) { EXPECT_EQ(asTuples(mftExtents(GetParam().runs, kVolume)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Extents, MftExtentsFromRuns,
    ::testing::Values(
        ExtentCase{"runs in order", {{4, 2}, {100, 3}}, {{1032, 16, true}, {1800, 24, true}}},
        ExtentCase{"a sparse run counts its positions", {{4, 2}, {std::nullopt, 1}}, {{1032, 16, true}, {0, 8, false}}},
        ExtentCase{"a negative cluster is not read", {{-3, 2}, {4, 1}}, {{0, 16, false}, {1032, 8, true}}},
        ExtentCase{"a run past the volume's end is not read", {{4, 1}, {500, 1}}, {{1032, 8, true}, {0, 8, false}}},
        ExtentCase{"a run across the volume's end is split there", {{499, 2}}, {{4992, 8, true}, {0, 8, false}}},
        ExtentCase{
            "the extents stop at the volume's size", {{0, 400}, {0, 400}}, {{1000, 3200, true}, {1000, 800, true}}},
        ExtentCase{"a count whose sectors overflow fills what is left",
                   {{4, 1}, {5, std::numeric_limits<std::uint64_t>::max() / 4}},
                   {{1032, 8, true}, {0, 3992, false}}},
        ExtentCase{"empty runs add nothing", {{4, 0}, {5, 1}}, {{1040, 8, true}}}),
    [](const auto& param) { return caseName(param.param.what); });

TEST(MftExtentsLimit, KeepsTheFirst512) {
  std::vector<DataRun> runs;
  for (std::int64_t i = 0; i < 600; ++i) runs.push_back(DataRun{i, 1});
  const auto extents = mftExtents(runs, VolumeBounds{0, 1, 1u << 20});
  ASSERT_EQ(extents.size(), kMaxMftExtents);
  EXPECT_EQ(extents.back().firstSector, 511u);
}

TEST(MftLayoutTest, RecordSectorsCountAcrossExtents) {
  // 3 sectors, a 4-sector hole, then 5 sectors: record 1 straddles the first
  // two extents; records 2 and 3 lie in the hole.
  const MftLayout layout({{100, 3, true}, {0, 4, false}, {500, 5, true}});
  EXPECT_EQ(layout.totalSectors(), 12u);
  EXPECT_EQ(layout.recordCount(), 6u);
  EXPECT_EQ(layout.recordSector(0), 100u);
  EXPECT_EQ(layout.recordSector(1), 102u);
  EXPECT_EQ(layout.sectorOf(3), std::nullopt);
  EXPECT_EQ(layout.recordSector(2), std::nullopt);
  EXPECT_EQ(layout.recordSector(4), 501u);
  EXPECT_EQ(layout.recordSector(5), 503u);
  EXPECT_EQ(layout.recordSector(6), std::nullopt);
  EXPECT_EQ(layout.recordSector(std::numeric_limits<std::uint64_t>::max()), std::nullopt);
  EXPECT_EQ(layout.locate(7)->extent, 2u);
  EXPECT_EQ(layout.locate(7)->offset, 0u);
  EXPECT_EQ(layout.extentStart(2), 7u);
}

TEST(MftLayoutTest, FarRecordsNeedSixtyFourBits) {
  const MftLayout layout({{0x1'0000'0000ull, 0x2'0000'0000ull, true}});
  EXPECT_EQ(layout.recordSector(0xC000'0000ull), 0x1'0000'0000ull + 0x1'8000'0000ull);
}

TEST(EncodeRuns, RoundTripsThroughTheDecoder) {
  const std::vector<RunPair> runs{{1000, 3}, {std::nullopt, 2}, {10, 70000}, {1'000'000'000'000, 1}, {-5, 1}};
  const auto pairs = test::encodeRuns(runs);
  EXPECT_EQ(asPairs(decodeDataRuns(view(pairs))), runs);
}

}  // namespace
}  // namespace dravel::ondisk
