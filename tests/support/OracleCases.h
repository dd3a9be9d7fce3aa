#pragma once
// The FAT16, FAT32 and NTFS partitions of the project's fixtures and of the
// reference set beside the project, each with what its truth listing says
// it holds; and the entries the program names differently, with the rule
// that causes each difference. Shared by the listing and the saving checks.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace dravel::test {

struct TruthEntry {
  std::string path;  // as written, '/'-separated below the root
  std::string kind;  // "file" or "dir" (named streams are left out)
  bool deleted = false;
  std::string size;
  std::string sha256;
  std::string note;
};

struct OracleCase {
  std::string name;     // "fat32-mbr-p1"
  std::string image;    // the image's name
  bool shared = false;  // from the reference set
  std::uint64_t start = 0;
  std::vector<TruthEntry> entries;
};

void PrintTo(const OracleCase& c, std::ostream* os);

[[nodiscard]] std::vector<OracleCase> oracleCases();

// The image of a case; empty when the reference set is absent.
[[nodiscard]] std::filesystem::path oracleImage(const OracleCase& c);

// A gtest-friendly name of a case ("fat32_mbr_p1").
[[nodiscard]] std::string oracleCaseTestName(const OracleCase& c);

// `command` after the options that attach `image` alone.
[[nodiscard]] std::vector<std::string> withImage(const std::filesystem::path& image, std::vector<std::string> command);

// The partition number the command line gives the partition at `start`.
[[nodiscard]] std::optional<std::string> partitionAt(const std::filesystem::path& image, std::uint64_t start);

// An entry the program shows under another path, and the rule why.
struct NamingDifference {
  std::string caseName;
  std::string truthPath;
  std::string shownAs;  // empty: not shown at all
  std::string rule;
};

[[nodiscard]] const std::vector<NamingDifference>& namingDifferences();

// Where the program shows a truth entry: the listed difference, or the path
// itself, or — for a deleted entry without a long name — the path with "_"
// for the first character of its last name. `exists` says whether a path is
// shown. nullopt when a listed difference says it is not shown.
[[nodiscard]] std::optional<std::string> shownPath(const OracleCase& c, const TruthEntry& entry,
                                                   const std::function<bool(const std::string&)>& exists);

}  // namespace dravel::test
