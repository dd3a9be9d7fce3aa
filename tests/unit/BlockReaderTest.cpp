#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/DeviceOptions.h"
#include "storage/BlockReader.h"
#include "support/DiskBuilder.h"
#include "support/ScopedState.h"
#include "support/TempDir.h"

namespace dravel::storage {
namespace {

namespace fs = std::filesystem;

// A 10-sector image, each sector filled with its number, plus 256 bytes: the
// device ends mid-sector.
class BlockReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DiskBuilder disk(11);
    for (std::uint64_t s = 0; s < 11; ++s) {
      for (std::uint64_t i = 0; i < 512; ++i) disk.put8(s * 512 + i, static_cast<std::uint8_t>(s + 1));
    }
    disk.writeTo(m_image);
    fs::resize_file(m_image, 10 * 512 + 256);
    m_devices.emplace(platform::DeviceOptions{{m_image}, true});
  }

  test::TempDir m_dir;
  fs::path m_image = m_dir / "disk.img";
  std::optional<test::ScopedCurrentDevices> m_devices;
};

struct BlockCase {
  const char* name;
  std::uint64_t sector;
  std::size_t bufferBytes;
  std::size_t bytes;
  int error;
  bool ok;
  bool shortRead;
};

class BlockReadTest : public BlockReaderTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(BlockReadTest, ReportsWhatWasTransferred) {
  const auto& c = GetParam();
  const auto reader = BlockReader::open("\\\\.\\PhysicalDrive0");
  ASSERT_TRUE(reader.has_value());
  std::vector<std::byte> buffer(c.bufferBytes, std::byte{0xCC});
  const auto r = reader->read(c.sector, buffer);
  EXPECT_EQ(r.bytes, c.bytes);
  EXPECT_EQ(r.error, c.error);
  EXPECT_EQ(r.ok(), c.ok);
  EXPECT_EQ(r.shortRead(c.bufferBytes), c.shortRead);
  for (std::size_t i = 0; i < r.bytes; ++i) {
    ASSERT_EQ(static_cast<std::uint8_t>(buffer[i]), c.sector + i / 512 + 1) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reads, BlockReadTest,
    ::testing::Values(BlockCase{"Inside", 2, 2048, 2048, 0, true, false},
                      BlockCase{"ShortAtTheEnd", 8, 2048, 1024 + 256, 0, true, true},
                      BlockCase{"PartLastSector", 10, 512, 256, 0, true, true},
                      BlockCase{"PastTheEnd", 11, 512, 0, 0, false, true},
                      BlockCase{"NotAMultipleOf512", 0, 700, 0, EINVAL, false, false},
                      BlockCase{"HalfSector", 0, 256, 0, EINVAL, false, false},
                      BlockCase{"SectorNumberOverflows", UINT64_MAX / 512 + 1, 512, 0, EINVAL, false, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(BlockReaderTest, CountsOnlyWholeSectors) {
  const auto reader = BlockReader::open("\\\\.\\PhysicalDrive0");
  ASSERT_TRUE(reader.has_value());
  EXPECT_EQ(reader->sectorCount(), 10u);
}

TEST_F(BlockReaderTest, UnknownPathDoesNotOpen) {
  platform::DeviceHandle::OpenError why;
  EXPECT_FALSE(BlockReader::open("\\\\.\\PhysicalDrive1", &why).has_value());
  EXPECT_EQ(why.error, ENODEV);
}

}  // namespace
}  // namespace dravel::storage
