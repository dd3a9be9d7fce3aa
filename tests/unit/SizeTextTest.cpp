#include <gtest/gtest.h>

#include "storage/SizeText.h"

namespace dravel::storage {
namespace {

struct SizeCase {
  std::uint64_t bytes;
  const char* text;
};

class SizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, FormatsAsTheDriveTreeShowsIt) { EXPECT_EQ(formatSize(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeTextTest,
    ::testing::Values(SizeCase{0, "0 Byte"}, SizeCase{1023, "1023 Byte"}, SizeCase{1024, "  1.00 KB"},
                      SizeCase{8000000000ull, "  7.45 GB"},
                      // Just below 2^20 stays in KB; 2^20 itself moves up one unit.
                      SizeCase{(1u << 20) - 1, "1024.00 KB"}, SizeCase{1u << 20, "  1.00 MB"},
                      // Rounding at each step: 1.5 KB rounds the KB count to nearest before dividing.
                      SizeCase{1536ull << 20, "  1.50 GB"}, SizeCase{314572800ull, "300.00 MB"},
                      // The largest count must not overflow the rounding.
                      SizeCase{UINT64_MAX, " 16.00 EB"}));

}  // namespace
}  // namespace dravel::storage
