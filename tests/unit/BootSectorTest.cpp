#include <gtest/gtest.h>

#include "ondisk/BootSector.h"

namespace dravel::ondisk {
namespace {

TEST(NtfsUnits, RecordAndIndexSizes) {
  struct Case {
    std::int8_t value;
    std::uint32_t spc;
    std::uint32_t sectors;
  };
  // Negative values are byte sizes as powers of two, positive ones clusters.
  const Case cases[] = {{-10, 8, 2}, {-12, 1, 8}, {1, 8, 8},  {2, 4, 8},
                        {-9, 8, 1},  {-8, 8, 0},  {-30, 8, 0}, {0, 8, 0}};
  for (const auto& c : cases) EXPECT_EQ(ntfsUnitSectors(c.value, c.spc), c.sectors) << int(c.value);
}

TEST(NtfsUnits, SectorsPerClusterBeyond64KiBAreAShift) {
  const std::pair<std::uint8_t, std::uint32_t> cases[] = {
      {0, 0}, {1, 1}, {8, 8}, {128, 128}, {0xFF, 2}, {0xF8, 256}, {0xF0, 65536}, {0xEF, 0}, {0x81, 0}};
  for (const auto& [raw, sectors] : cases) EXPECT_EQ(ntfsSectorsPerCluster(raw), sectors) << int(raw);
}

}  // namespace
}  // namespace dravel::ondisk
