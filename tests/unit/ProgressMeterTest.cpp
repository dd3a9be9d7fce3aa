#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/ProgressMeter.h"

namespace dravel {
namespace {

constexpr std::uint64_t kBig = 0x7FFFFFFFull;  // first span shown as a percentage

struct StartCase {
  const char* name;
  std::uint64_t low, high;
  std::uint32_t step;
  int maximum, stepSize;
};

class ProgressMeterStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(ProgressMeterStart, ChoosesRangeAndStepFromTheSpan) {
  const auto& c = GetParam();
  ProgressMeter meter;
  meter.start(c.low, c.high, c.step);
  EXPECT_EQ(meter.minimum(), 0);
  EXPECT_EQ(meter.maximum(), c.maximum);
  EXPECT_EQ(meter.stepSize(), c.stepSize);
  EXPECT_EQ(meter.position(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, ProgressMeterStart,
    ::testing::Values(StartCase{"LoadingWindow", 0, 100, 2, 100, 2}, StartCase{"OffsetRange", 1000, 1500, 10, 500, 10},
                      StartCase{"LargestSmallSpan", 5, 5 + kBig - 1, 3, static_cast<int>(kBig - 1), 3},
                      StartCase{"FirstLargeSpan", 5, 5 + kBig, 3, 100, 1},
                      StartCase{"WholeDisk", 0, 7814037168ull, 1, 100, 1},
                      StartCase{"HighBelowLowWraps", 10, 5, 4, 100, 1}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(ProgressMeter, SmallRangeAdvancesByItsStepAndStartsOverPastTheEnd) {
  ProgressMeter meter;
  meter.start(0, 10, 4);
  std::vector<int> positions;
  // current is not used in a small range: the step alone moves the bar.
  for (std::uint64_t tick = 1; tick <= 5; ++tick) {
    meter.step(0, 10, tick * 1000);
    positions.push_back(meter.position());
  }
  EXPECT_EQ(positions, (std::vector<int>{4, 8, 0, 4, 8}));
}

TEST(ProgressMeter, SmallRangeReachesTheEndExactlyBeforeStartingOver) {
  ProgressMeter meter;
  meter.start(0, 100, 2);
  for (int tick = 0; tick < 50; ++tick) meter.step(0, 100, 0);
  EXPECT_EQ(meter.position(), 100);
  meter.step(0, 100, 0);
  EXPECT_EQ(meter.position(), 0);
}

TEST(ProgressMeter, EmptySpanStaysAtZero) {
  ProgressMeter meter;
  meter.start(7, 7, 1);
  meter.step(7, 7, 7);
  EXPECT_EQ(meter.maximum(), 0);
  EXPECT_EQ(meter.position(), 0);
}

TEST(ProgressMeter, RestartForgetsTheRememberedPercentage) {
  const std::uint64_t high = 100 * kBig;
  ProgressMeter meter;
  meter.start(0, high, 1);
  meter.step(0, high, high / 2);
  ASSERT_EQ(meter.position(), 50);
  meter.start(0, high, 1);
  meter.step(0, high, high / 4);
  EXPECT_EQ(meter.position(), 25);
}

struct PercentCase {
  const char* name;
  std::uint64_t low, high;
  std::vector<std::uint64_t> currents;
  std::vector<int> positions;  // after each step
};

class ProgressMeterPercent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(ProgressMeterPercent, NeverMovesBackwards) {
  const auto& c = GetParam();
  ProgressMeter meter;
  meter.start(c.low, c.high, 1);
  std::vector<int> positions;
  for (const auto current : c.currents) {
    meter.step(c.low, c.high, current);
    positions.push_back(meter.position());
  }
  EXPECT_EQ(positions, c.positions);
}

constexpr std::uint64_t kDisk = 8000000000ull;
constexpr std::uint64_t kMax = UINT64_MAX;

INSTANTIATE_TEST_SUITE_P(
    Percentages, ProgressMeterPercent,
    ::testing::Values(PercentCase{"Forward", 0, kDisk, {kDisk / 10, kDisk / 2, kDisk}, {10, 50, 100}},
                      // A worker that reports an earlier sector (a second pass) leaves the bar where it was.
                      PercentCase{"Backwards", 0, kDisk, {kDisk / 2, kDisk / 4, kDisk * 3 / 4}, {50, 50, 75}},
                      PercentCase{"OffsetLow", kDisk, 3 * kDisk, {kDisk, 2 * kDisk, 3 * kDisk}, {0, 50, 100}},
                      PercentCase{"BeforeLow", kDisk, 3 * kDisk, {kDisk / 2, 2 * kDisk}, {0, 50}},
                      PercentCase{"PastHighCapped", 0, kDisk, {2 * kDisk}, {100}},
                      // high 0 with low above it: the span wraps into percentage mode and shows nothing.
                      PercentCase{"HighZero", 5, 0, {3, kMax}, {0, 0}},
                      // (current - low) * 100 would overflow 64 bits here.
                      PercentCase{"HugeSpan", 0, kMax, {kMax / 2, kMax / 100 * 99, kMax}, {50, 99, 100}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace dravel
