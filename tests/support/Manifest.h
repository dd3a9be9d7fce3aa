#pragma once
// Reads the reference set's MANIFEST.md: each image's partition table and
// the file-system layout The Sleuth Kit's fsstat reported for each partition.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dravel::test {

struct ManifestPartition {
  int number = 0;
  std::uint64_t start = 0;
  std::uint64_t sectors = 0;
  std::string type;
  std::string fileSystem;  // first word of the column: "FAT32", "NTFS", "(none)"...
};

struct FsstatReport {
  std::uint64_t partitionStart = 0;            // from the section heading
  std::map<std::string, std::string> fields;  // "Cluster Size" -> "4096"
  // "* FAT 0: 32 - 631" and the like, relative to the file system's start.
  std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> ranges;
};

struct ManifestImage {
  std::string name;
  std::vector<ManifestPartition> partitions;
  std::vector<FsstatReport> reports;
};

[[nodiscard]] std::map<std::string, ManifestImage> readManifest(const std::filesystem::path& file);

// One line of fsstat output into the report ("Cluster Size: 4096", "* FAT 0: 4 - 35").
void addFsstatLine(FsstatReport& report, const std::string& line);

// A whole fsstat output file.
[[nodiscard]] FsstatReport readFsstat(const std::filesystem::path& file, std::uint64_t partitionStart);

// Rows of a tab-separated file with a header line, as maps from column name to cell.
[[nodiscard]] std::vector<std::map<std::string, std::string>> readTsv(const std::filesystem::path& file);

}  // namespace dravel::test
