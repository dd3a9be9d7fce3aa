#include "Manifest.h"

#include <fstream>
#include <regex>

#include "common/Text.h"

namespace dravel::test {

namespace {

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = line.find('|');
  while (start != std::string::npos) {
    const std::size_t next = line.find('|', start + 1);
    if (next == std::string::npos) break;
    out.push_back(trim(line.substr(start + 1, next - start - 1)));
    start = next;
  }
  return out;
}

}  // namespace

std::map<std::string, ManifestImage> readManifest(const std::filesystem::path& file) {
  std::map<std::string, ManifestImage> images;
  std::ifstream in(file);
  const std::regex imageHeading(R"(^## ([a-z0-9-]+)\s*$)");
  const std::regex reportHeading(R"(^### \S+ partition \d+ \(.* at sector (\d+)\)\s*$)");
  const std::regex range(R"(^\*+ (.+): (\d+) - (\d+)\s*$)");
  const std::regex field(R"(^([A-Za-z][A-Za-z ()]+): (.+)$)");
  ManifestImage* image = nullptr;
  FsstatReport* report = nullptr;
  bool inPartitionTable = false;
  bool inCode = false;
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, imageHeading)) {
      image = &images[m[1]];
      image->name = m[1];
      report = nullptr;
      continue;
    }
    if (image == nullptr) continue;
    if (std::regex_match(line, m, reportHeading)) {
      image->reports.emplace_back();
      report = &image->reports.back();
      report->partitionStart = std::stoull(m[1]);
      continue;
    }
    if (line.starts_with("```")) {
      inCode = !inCode;
      continue;
    }
    if (inCode && report != nullptr) {
      if (std::regex_match(line, m, range)) {
        report->ranges[m[1]] = {std::stoull(m[2]), std::stoull(m[3])};
      } else if (std::regex_match(line, m, field)) {
        report->fields[m[1]] = trim(std::string(m[2]));
      }
      continue;
    }
    if (line.starts_with("| part | start sector")) {
      inPartitionTable = true;
      continue;
    }
    if (inPartitionTable) {
      if (!line.starts_with("|")) {
        inPartitionTable = false;
        continue;
      }
      const auto c = cells(line);
      if (c.size() < 5 || c[0].starts_with("---")) continue;
      ManifestPartition p;
      p.number = std::stoi(c[0]);
      p.start = std::stoull(c[1]);
      p.sectors = std::stoull(c[2]);
      p.type = c[3];
      p.fileSystem = c[4].substr(0, c[4].find(' '));
      image->partitions.push_back(p);
    }
  }
  return images;
}

}  // namespace dravel::test
