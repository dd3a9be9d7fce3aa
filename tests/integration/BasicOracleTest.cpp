// Every folder and file The Sleuth Kit lists on a FAT16, FAT32 or NTFS
// partition must come out of the command line's Basic Search at the same
// path with the same size. Where the program's own naming rules give a
// different answer, the difference is listed below with the rule.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/Manifest.h"

namespace dravel::test {
namespace {

namespace fs = std::filesystem;

struct TruthRow {
  std::string path;
  std::string kind;  // "file" or "dir"
  bool deleted = false;
  std::string size;
};

struct PartitionCase {
  std::string name;      // "fat32-mbr-p1"
  std::string image;     // image name
  bool shared = false;   // from the reference set beside the project
  std::uint64_t start = 0;
  std::vector<TruthRow> truth;
};

void PrintTo(const PartitionCase& c, std::ostream* os) { *os << c.name; }

// A truth entry the program shows differently, and the rule that causes it.
struct KnownDifference {
  std::string caseName;
  std::string truthPath;
  std::string shownAs;  // empty: the entry is not listed at all
  std::string rule;
};

const std::vector<KnownDifference>& knownDifferences() {
  static const std::vector<KnownDifference> kDifferences = {
      {"fat32-mbr-p1", "café", "DIR12",
       "8.3-only name: code page 850's \"É\" (0x90) is undefined in Windows-1252 and reads as U+0090, so the "
       "name check leaves the entry out and the folder keeps its provisional name"},
      {"fat32-mbr-p1", "café/menü.txt", "DIR12/menš.txt",
       "8.3 names are read as Windows-1252: code page 850's \"Ü\" (0x9A) reads as \"š\"; the folder above "
       "keeps its provisional name"},
      {"fat32-mbr-p1", "Old Projects/Website/img/logo.png", "Old Projects/Website/_mg/_ogo.png",
       "a deleted entry without a long name shows \"_\" for its first character, the deleted folder above too"},
  };
  return kDifferences;
}

struct Listed {
  std::string kind;
  bool deleted = false;
  std::string size;
};

fs::path projectOracleDir(const std::string& image) {
  const fs::path source = DRAVEL_SOURCE_DIR;
  return image == "sample" ? source / "samples" : source / "tests" / "fixtures" / "images";
}

TruthRow truthRow(const std::map<std::string, std::string>& cells) {
  TruthRow row;
  row.path = cells.at("path");
  row.kind = cells.at("kind");
  row.deleted = cells.at("deleted") == "1";
  row.size = cells.at("size");
  return row;
}

void addProjectCases(std::vector<PartitionCase>& out) {
  for (const std::string image : {"sample", "mbr-mixed", "gpt-mixed"}) {
    const fs::path dir = projectOracleDir(image);
    for (const auto& p : readTsv(dir / (image + ".partitions.tsv"))) {
      const std::string fsName = p.at("fs");
      if (fsName != "FAT16" && fsName != "FAT32" && fsName != "NTFS") continue;
      const std::string name = image + "-p" + p.at("number");
      const fs::path truth = image == "sample" ? dir / "sample.truth.tsv" : dir / (name + ".truth.tsv");
      if (!fs::exists(truth)) continue;
      PartitionCase c{name, image, false, std::stoull(p.at("start")), {}};
      for (const auto& cells : readTsv(truth)) c.truth.push_back(truthRow(cells));
      out.push_back(std::move(c));
    }
  }
}

void addSharedCases(std::vector<PartitionCase>& out) {
  const fs::path dir = sharedFixturesDir();
  if (!fs::exists(dir / "MANIFEST.md")) return;
  for (const auto& [image, manifest] : readManifest(dir / "MANIFEST.md")) {
    const fs::path truth = dir / "oracle" / (image + ".truth.tsv");
    if (!fs::exists(truth)) continue;
    const auto rows = readTsv(truth);
    for (const auto& p : manifest.partitions) {
      if (p.fileSystem != "FAT16" && p.fileSystem != "FAT32" && p.fileSystem != "NTFS") continue;
      // A wiped table lists no partition until the partition search finds it.
      if (p.type.find("wiped") != std::string::npos) continue;
      PartitionCase c{image + "-p" + std::to_string(p.number), image, true, p.start, {}};
      for (const auto& cells : rows) {
        if (cells.at("partition") != std::to_string(p.number) || cells.at("kind") == "stream") continue;
        c.truth.push_back(truthRow(cells));
      }
      out.push_back(std::move(c));
    }
  }
}

std::vector<PartitionCase> allCases() {
  std::vector<PartitionCase> cases;
  addProjectCases(cases);
  addSharedCases(cases);
  return cases;
}

fs::path imageFor(const PartitionCase& c) { return c.shared ? sharedImage(c.image) : fixtureImage(c.image); }

std::vector<std::string> withImage(const fs::path& image, std::vector<std::string> command) {
  std::vector<std::string> args = {"--images-only", "--image", image.string()};
  args.insert(args.end(), command.begin(), command.end());
  return args;
}

// The partition number the command line gives the partition at `start`.
std::optional<std::string> partitionAt(const fs::path& image, std::uint64_t start) {
  for (const auto& row : runCli(withImage(image, {"partitions"})).rows()) {
    if (row.size() == 5 && std::stoull(row[3]) == start) return row[1];
  }
  return std::nullopt;
}

std::map<std::string, Listed> basicListing(const fs::path& image, const std::string& partition) {
  const auto r = runCli(withImage(image, {"basic", "0", partition}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::map<std::string, Listed> out;
  for (const auto& row : r.rows()) {
    if (row.size() != 7) {
      ADD_FAILURE() << "malformed line with " << row.size() << " fields";
      continue;
    }
    out.emplace(row[6], Listed{row[0], row[1] == "1", row[2]});
  }
  return out;
}

// A deleted entry without a long name shows "_" for the first character of
// its short name.
std::string deletedShortName(const std::string& path) {
  const auto slash = path.rfind('/');
  std::string out = path;
  out[slash == std::string::npos ? 0 : slash + 1] = '_';
  return out;
}

class BasicOracle : public ::testing::TestWithParam<PartitionCase> {};

TEST_P(BasicOracle, ListsEveryOracleEntryAtItsPathWithItsSize) {
  const auto& c = GetParam();
  const fs::path image = imageFor(c);
  if (image.empty()) GTEST_SKIP() << "reference image " << c.image << " is not available";
  const auto partition = partitionAt(image, c.start);
  ASSERT_TRUE(partition) << "no partition listed at sector " << c.start;
  const auto listed = basicListing(image, *partition);

  std::map<std::string, const KnownDifference*> differences;
  for (const auto& d : knownDifferences()) {
    if (d.caseName == c.name) differences.emplace(d.truthPath, &d);
  }
  for (const auto& row : c.truth) {
    std::string path = row.path;
    if (const auto it = differences.find(row.path); it != differences.end()) {
      if (it->second->shownAs.empty()) {
        EXPECT_EQ(listed.count(row.path), 0u) << row.path << " is listed after all (" << it->second->rule << ")";
        continue;
      }
      path = it->second->shownAs;
    } else if (!listed.count(path) && row.deleted) {
      path = deletedShortName(path);
    }
    const auto found = listed.find(path);
    if (found == listed.end()) {
      ADD_FAILURE() << c.name << ": " << row.path << " (" << row.kind << ") is not listed";
      continue;
    }
    EXPECT_EQ(found->second.kind, row.kind) << path;
    if (row.kind == "file") {
      EXPECT_EQ(found->second.size, row.size) << path;
    }
  }
}

std::string caseName(const ::testing::TestParamInfo<PartitionCase>& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Partitions, BasicOracle, ::testing::ValuesIn(allCases()), caseName);

}  // namespace
}  // namespace dravel::test
