// Basic Search on NTFS volumes made by the real tools: every folder and file
// the truth listing names is shown at its path, with its size and its
// deleted mark. (The command line's oracle comparison goes further.)

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "basic/BasicSearch.h"
#include "support/Fixtures.h"
#include "support/Manifest.h"
#include "support/ResultWalk.h"

namespace dravel::basic {
namespace {

namespace fs = std::filesystem;

struct VolumeCase {
  std::string name;
  fs::path image;  // empty: the reference set is absent
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;
  fs::path truth;
};

void PrintTo(const VolumeCase& c, std::ostream* os) { *os << c.name; }

fs::path projectTruth(const std::string& name) {
  return fs::path(DRAVEL_SOURCE_DIR) / "tests" / "fixtures" / "images" / (name + ".truth.tsv");
}

std::vector<VolumeCase> cases() {
  return {
      {"ntfs_mbr_p1", test::sharedImage("ntfs-mbr"), 2048, 409600,
       test::sharedFixturesDir() / "oracle" / "ntfs-mbr.truth.tsv"},
      {"mbr_mixed_p3", test::fixtureImage("mbr-mixed"), 114688, 147456, projectTruth("mbr-mixed-p3")},
      {"mbr_mixed_p7", test::fixtureImage("mbr-mixed"), 268288, 301056, projectTruth("mbr-mixed-p7")},
      {"gpt_mixed_p3", test::fixtureImage("gpt-mixed"), 116736, 165888, projectTruth("gpt-mixed-p3")},
  };
}

std::vector<std::byte> readImage(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::byte> bytes(fs::file_size(path));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// One image in memory shared by every reader the engine opens.
class SharedImage final : public storage::SectorSource {
 public:
  explicit SharedImage(std::shared_ptr<const std::vector<std::byte>> bytes) : m_bytes(std::move(bytes)) {}
  bool read(std::uint64_t firstSector, std::uint32_t count, std::span<std::byte> buffer) override {
    const std::uint64_t length = std::uint64_t{count} * kSectorSize;
    if (buffer.size() < length || firstSector >= m_bytes->size() / kSectorSize) return false;
    const std::uint64_t offset = firstSector * kSectorSize;
    const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(length, m_bytes->size() - offset));
    std::copy_n(m_bytes->begin() + static_cast<std::ptrdiff_t>(offset), available, buffer.begin());
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(available),
              buffer.begin() + static_cast<std::ptrdiff_t>(length), std::byte{0});
    return true;
  }

 private:
  std::shared_ptr<const std::vector<std::byte>> m_bytes;
};

class NtfsFixtures : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(NtfsFixtures, ShowsEveryTruthEntry) {
  const auto& c = GetParam();
  if (c.image.empty()) GTEST_SKIP() << "reference images not unpacked";
  ASSERT_TRUE(fs::exists(c.image)) << c.image;
  const auto image = std::make_shared<const std::vector<std::byte>>(readImage(c.image));
  auto search = BasicSearch::create(ScanInput{c.image.string(), "NTFS", c.firstSector, c.endSector},
                                    [image] { return std::make_unique<SharedImage>(image); });
  ScanControl control;
  ScanProgress progress;
  const auto outcome = search->run(control, progress);
  EXPECT_FALSE(outcome.stopped);
  EXPECT_FALSE(outcome.nothingFound);

  const auto shown = test::allShown(*search);
  std::size_t checked = 0;
  for (const auto& truth : test::readTsv(c.truth)) {
    const std::string kind = truth.at("kind");
    if (kind != "file" && kind != "dir") continue;  // named streams are not listed
    const auto* row = test::rowAt(shown, truth.at("path"));
    if (row == nullptr) continue;
    ++checked;
    EXPECT_EQ(row->folder, kind == "dir") << truth.at("path");
    EXPECT_EQ(row->deleted, truth.at("deleted") == "1") << truth.at("path");
    if (kind == "file") {
      EXPECT_EQ(std::to_string(row->size), truth.at("size")) << truth.at("path");
    }
  }
  EXPECT_GT(checked, 0u);
}

INSTANTIATE_TEST_SUITE_P(Volumes, NtfsFixtures, ::testing::ValuesIn(cases()),
                         [](const auto& param) { return param.param.name; });

}  // namespace
}  // namespace dravel::basic
