// Basic Search on the FAT partitions of real disk images (the project's own
// and the independent reference set): every folder and file the images'
// truth listings name is found, with its size. The reference images are
// skipped when they are absent.

#include <gtest/gtest.h>

#include <fstream>

#include "basic/FatSearch.h"
#include "common/Text.h"
#include "support/ResultWalk.h"
#include "support/Fixtures.h"
#include "support/Manifest.h"

namespace dravel::test {
namespace {

// An image file read through a read-only stream; zeros past its end, as a
// device gives.
class ImageFileSource final : public storage::SectorSource {
 public:
  explicit ImageFileSource(const std::filesystem::path& path) : m_in(path, std::ios::binary) {}
  bool read(std::uint64_t first, std::uint32_t count, std::span<std::byte> buffer) override {
    const std::size_t bytes = std::size_t{count} * 512;
    if (!m_in || buffer.size() < bytes) return false;
    std::fill(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(bytes), std::byte{0});
    m_in.clear();
    m_in.seekg(static_cast<std::streamoff>(first * 512));
    m_in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(bytes));
    return m_in.gcount() > 0;
  }

 private:
  std::ifstream m_in;
};

struct FixturePartition {
  const char* image;
  int partition;
  bool reference;  // from the independent set beside the project
};

std::string label(const FixturePartition& p) {
  std::string name = std::string(p.image) + "_p" + std::to_string(p.partition);
  for (char& c : name) {
    if (c == '-') c = '_';
  }
  return name;
}

struct Located {
  std::filesystem::path image;
  std::string fileSystem;
  std::uint64_t first = 0;
  std::uint64_t sectors = 0;
  std::vector<std::map<std::string, std::string>> truth;
};

std::optional<Located> locateReference(const FixturePartition& p) {
  Located at;
  at.image = sharedImage(p.image);
  if (at.image.empty()) return std::nullopt;
  static const auto manifest = readManifest(sharedFixturesDir() / "MANIFEST.md");
  for (const auto& part : manifest.at(p.image).partitions) {
    if (part.number != p.partition) continue;
    at.fileSystem = part.fileSystem;
    at.first = part.start;
    at.sectors = part.sectors;
  }
  for (auto& row : readTsv(sharedFixturesDir() / "oracle" / (std::string(p.image) + ".truth.tsv"))) {
    if (row["partition"] == std::to_string(p.partition)) at.truth.push_back(row);
  }
  return at;
}

Located locateProject(const FixturePartition& p) {
  Located at;
  at.image = fixtureImage(p.image);
  const std::filesystem::path dir =
      std::string(p.image) == "sample" ? "samples" : "tests/fixtures/images";
  const std::filesystem::path source = std::filesystem::path(DRAVEL_SOURCE_DIR) / dir;
  for (auto& row : readTsv(source / (std::string(p.image) + ".partitions.tsv"))) {
    if (row["number"] != std::to_string(p.partition)) continue;
    at.fileSystem = row["fs"];
    at.first = std::stoull(row["start"]);
    at.sectors = std::stoull(row["sectors"]);
  }
  const std::string truth = std::string(p.image) == "sample" ? "sample" : std::string(p.image) + "-p" + std::to_string(p.partition);
  at.truth = readTsv(source / (truth + ".truth.tsv"));
  return at;
}

// A name the search cannot give as written: an 8.3 name written in another
// code page than Windows-1252.
bool beyondTheSearch(const std::map<std::string, std::string>& row) {
  const auto note = row.find("note");
  return note != row.end() && note->second.find("code page") != std::string::npos;
}

// The truth lists names as written. A name without a long name is shown as
// its 8.3 entry holds it: in capitals (the lower-case marks some writers
// set are not read), and, once deleted, with "_" for its first character.
bool sameComponent(const std::string& written, const std::string& shown) {
  if (toUpperAscii(written) == toUpperAscii(shown)) return true;
  return !written.empty() && !shown.empty() && shown[0] == '_' &&
         toUpperAscii(written.substr(1)) == toUpperAscii(shown.substr(1));
}

std::vector<std::string> components(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1) {
    parts.push_back(path.substr(start, slash - start));
  }
  parts.push_back(path.substr(start));
  return parts;
}

// The row the search shows for a path of the truth.
const results::ContentRow* findRow(const std::map<std::string, results::ContentRow>& rows, const std::string& path) {
  if (const auto it = rows.find(path); it != rows.end()) return &it->second;
  const auto wanted = components(path);
  for (const auto& [shownPath, row] : rows) {
    const auto shown = components(shownPath);
    if (shown.size() != wanted.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < shown.size() && same; ++i) same = sameComponent(wanted[i], shown[i]);
    if (same) return &row;
  }
  return nullptr;
}

class FatFixture : public testing::TestWithParam<FixturePartition> {};

TEST_P(FatFixture, FindsEveryFolderAndFileOfTheTruth) {
  const auto& p = GetParam();
  std::optional<Located> at = p.reference ? locateReference(p) : std::optional<Located>(locateProject(p));
  if (!at) GTEST_SKIP() << "reference image " << p.image << " is not available";
  ASSERT_TRUE(at->fileSystem.starts_with("FAT")) << at->fileSystem;
  ASSERT_FALSE(at->truth.empty());

  const basic::ScanInput input{"image", at->fileSystem.substr(0, 5), at->first, at->first + at->sectors};
  const std::filesystem::path image = at->image;
  auto search = basic::BasicSearch::create(
      input, [image]() -> std::unique_ptr<storage::SectorSource> { return std::make_unique<ImageFileSource>(image); });
  basic::ScanControl control;
  basic::ScanProgress progress;
  const auto outcome = search->run(control, progress);
  EXPECT_TRUE(outcome.message.empty());
  const auto rows = listEverything(*search);

  int checked = 0;
  for (const auto& row : at->truth) {
    const std::string& kind = row.at("kind");
    if ((kind != "file" && kind != "dir") || beyondTheSearch(row)) continue;
    const std::string& path = row.at("path");
    const results::ContentRow* shown = findRow(rows, path);
    ++checked;
    if (shown == nullptr) {
      ADD_FAILURE() << "not found: " << path;
      continue;
    }
    EXPECT_EQ(shown->folder, kind == "dir") << path;
    EXPECT_EQ(shown->deleted, row.at("deleted") == "1") << path;
    if (kind == "file") {
      EXPECT_EQ(std::to_string(shown->size), row.at("size")) << path;
    }
  }
  EXPECT_GT(checked, 0);
  if (HasFailure()) {
    std::string shown;
    for (const auto& [path, row] : rows) shown += "  " + path + (row.deleted ? " (deleted)\n" : "\n");
    ADD_FAILURE() << "the search showed:\n" << shown;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Images, FatFixture,
    testing::Values(FixturePartition{"sample", 1, false}, FixturePartition{"mbr-mixed", 1, false},
                    FixturePartition{"mbr-mixed", 2, false}, FixturePartition{"mbr-mixed", 5, false},
                    FixturePartition{"mbr-mixed", 6, false}, FixturePartition{"gpt-mixed", 2, false},
                    FixturePartition{"gpt-mixed", 5, false}, FixturePartition{"fat16-mbr", 1, true},
                    FixturePartition{"fat32-mbr", 1, true}, FixturePartition{"fat32-noboot", 1, true},
                    FixturePartition{"extended-mbr", 1, true}, FixturePartition{"extended-mbr", 5, true},
                    FixturePartition{"extended-mbr", 6, true}, FixturePartition{"gpt", 2, true},
                    FixturePartition{"lost-partition", 1, true}, FixturePartition{"carve", 1, true}),
    [](const auto& p) { return label(p.param); });

}  // namespace
}  // namespace dravel::test
