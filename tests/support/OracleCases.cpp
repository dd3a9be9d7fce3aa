#include "OracleCases.h"

#include <map>
#include <ostream>

#include "CliRunner.h"
#include "Fixtures.h"
#include "Manifest.h"

namespace dravel::test {

namespace fs = std::filesystem;

namespace {

bool basicFileSystem(const std::string& name) { return name == "FAT16" || name == "FAT32" || name == "NTFS"; }

TruthEntry entryOf(const std::map<std::string, std::string>& cells) {
  const auto cell = [&cells](const char* column) {
    const auto it = cells.find(column);
    return it == cells.end() ? std::string() : it->second;
  };
  return TruthEntry{cell("path"), cell("kind"), cell("deleted") == "1", cell("size"), cell("sha256"), cell("note")};
}

void addProjectCases(std::vector<OracleCase>& out) {
  const fs::path source = DRAVEL_SOURCE_DIR;
  for (const std::string image : {"sample", "mbr-mixed", "gpt-mixed"}) {
    const fs::path dir = image == "sample" ? source / "samples" : source / "tests" / "fixtures" / "images";
    for (const auto& p : readTsv(dir / (image + ".partitions.tsv"))) {
      if (!basicFileSystem(p.at("fs"))) continue;
      const std::string name = image + "-p" + p.at("number");
      const fs::path truth = image == "sample" ? dir / "sample.truth.tsv" : dir / (name + ".truth.tsv");
      if (!fs::exists(truth)) continue;
      OracleCase c{name, image, false, std::stoull(p.at("start")), {}};
      for (const auto& cells : readTsv(truth)) c.entries.push_back(entryOf(cells));
      out.push_back(std::move(c));
    }
  }
}

void addSharedCases(std::vector<OracleCase>& out) {
  const fs::path dir = sharedFixturesDir();
  if (!fs::exists(dir / "MANIFEST.md")) return;
  for (const auto& [image, manifest] : readManifest(dir / "MANIFEST.md")) {
    const fs::path truth = dir / "oracle" / (image + ".truth.tsv");
    if (!fs::exists(truth)) continue;
    const auto rows = readTsv(truth);
    for (const auto& p : manifest.partitions) {
      if (!basicFileSystem(p.fileSystem)) continue;
      // A wiped table lists no partition until the partition search finds it.
      if (p.type.find("wiped") != std::string::npos) continue;
      OracleCase c{image + "-p" + std::to_string(p.number), image, true, p.start, {}};
      for (const auto& cells : rows) {
        if (cells.at("partition") != std::to_string(p.number) || cells.at("kind") == "stream") continue;
        c.entries.push_back(entryOf(cells));
      }
      out.push_back(std::move(c));
    }
  }
}

// A deleted entry without a long name shows "_" for the first character of
// its short name.
std::string deletedShortName(const std::string& path) {
  const auto slash = path.rfind('/');
  std::string out = path;
  out[slash == std::string::npos ? 0 : slash + 1] = '_';
  return out;
}

}  // namespace

void PrintTo(const OracleCase& c, std::ostream* os) { *os << c.name; }

std::vector<OracleCase> oracleCases() {
  std::vector<OracleCase> cases;
  addProjectCases(cases);
  addSharedCases(cases);
  return cases;
}

fs::path oracleImage(const OracleCase& c) { return c.shared ? sharedImage(c.image) : fixtureImage(c.image); }

std::string oracleCaseTestName(const OracleCase& c) {
  std::string name = c.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

std::vector<std::string> withImage(const fs::path& image, std::vector<std::string> command) {
  std::vector<std::string> args = {"--images-only", "--image", image.string()};
  args.insert(args.end(), command.begin(), command.end());
  return args;
}

std::optional<std::string> partitionAt(const fs::path& image, std::uint64_t start) {
  for (const auto& row : runCli(withImage(image, {"partitions"})).rows()) {
    if (row.size() == 5 && std::stoull(row[3]) == start) return row[1];
  }
  return std::nullopt;
}

const std::vector<NamingDifference>& namingDifferences() {
  static const std::vector<NamingDifference> kDifferences = {
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

std::optional<std::string> shownPath(const OracleCase& c, const TruthEntry& entry,
                                     const std::function<bool(const std::string&)>& exists) {
  for (const auto& d : namingDifferences()) {
    if (d.caseName != c.name || d.truthPath != entry.path) continue;
    if (d.shownAs.empty()) return std::nullopt;
    return d.shownAs;
  }
  if (!exists(entry.path) && entry.deleted) return deletedShortName(entry.path);
  return entry.path;
}

}  // namespace dravel::test
