#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/SectorSource.h"

namespace dravel::storage {
namespace {

// Sector n holds the byte value n + 1 throughout, so any misplaced copy shows.
std::vector<std::byte> sectors(std::size_t count, std::size_t extraBytes = 0) {
  std::vector<std::byte> bytes(count * 512 + extraBytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::byte>(i / 512 + 1);
  return bytes;
}

struct ReadCase {
  const char* name;
  std::size_t extraBytes;  // the source holds 4 sectors and these bytes
  std::uint64_t first;
  std::uint32_t count;
  std::size_t bufferSectors;
  bool ok;
  std::size_t dataBytes;  // bytes expected from the source; zeros follow up to count × 512
};

class MemorySectorSourceTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MemorySectorSourceTest, ReadsLikeTheSectorReader) {
  const auto& c = GetParam();
  MemorySectorSource source(sectors(4, c.extraBytes));
  std::vector<std::byte> buffer(c.bufferSectors * 512, std::byte{0xCC});
  ASSERT_EQ(source.read(c.first, c.count, buffer), c.ok);
  if (!c.ok) return;
  for (std::size_t i = 0; i < static_cast<std::size_t>(c.count) * 512; ++i) {
    const auto want = i < c.dataBytes ? static_cast<std::byte>(c.first + i / 512 + 1) : std::byte{0};
    ASSERT_EQ(buffer[i], want) << "byte " << i;
  }
  // Nothing beyond the request is touched.
  for (std::size_t i = static_cast<std::size_t>(c.count) * 512; i < buffer.size(); ++i) {
    ASSERT_EQ(buffer[i], std::byte{0xCC}) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reads, MemorySectorSourceTest,
    ::testing::Values(ReadCase{"Inside", 0, 1, 2, 2, true, 1024},
                      ReadCase{"LargerBufferUntouchedBeyond", 0, 0, 1, 3, true, 512},
                      ReadCase{"RunsIntoTheEnd", 0, 3, 3, 3, true, 512},
                      ReadCase{"StartsAtTheEnd", 0, 4, 1, 1, false, 0},
                      ReadCase{"StartsFarPastTheEnd", 0, UINT64_MAX / 512 + 7, 1, 1, false, 0},
                      // A trailing part-sector is still a sector that can be read.
                      ReadCase{"PartLastSector", 100, 4, 1, 1, true, 100},
                      ReadCase{"ZeroSectors", 0, 0, 0, 0, true, 0},
                      ReadCase{"ZeroSectorsPastTheEnd", 0, 9, 0, 0, true, 0},
                      ReadCase{"BufferTooSmall", 0, 0, 2, 1, false, 0}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace dravel::storage
