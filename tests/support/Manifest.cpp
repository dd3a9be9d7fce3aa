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

const std::regex& rangeLine() {
  static const std::regex r(R"(^\*+ (.+): (\d+) - (\d+)\s*$)");
  return r;
}

const std::regex& fieldLine() {
  static const std::regex r(R"(^([A-Za-z][A-Za-z ()]+): (.+)$)");
  return r;
}

}  // namespace

void addFsstatLine(FsstatReport& report, const std::string& line) {
  std::smatch m;
  if (std::regex_match(line, m, rangeLine())) {
    report.ranges[m[1]] = {std::stoull(m[2]), std::stoull(m[3])};
  } else if (std::regex_match(line, m, fieldLine())) {
    report.fields.emplace(m[1], trim(std::string(m[2])));  // the first of a repeated field counts
  }
}

FsstatReport readFsstat(const std::filesystem::path& file, std::uint64_t partitionStart) {
  FsstatReport report;
  report.partitionStart = partitionStart;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) addFsstatLine(report, line);
  return report;
}

std::vector<std::map<std::string, std::string>> readTsv(const std::filesystem::path& file) {
  std::vector<std::map<std::string, std::string>> rows;
  std::ifstream in(file);
  std::string line;
  std::vector<std::string> header;
  const auto split = [](const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t tab; (tab = text.find('\t', start)) != std::string::npos; start = tab + 1) {
      out.push_back(text.substr(start, tab - start));
    }
    out.push_back(text.substr(start));
    return out;
  };
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const auto fields = split(line);
    if (header.empty()) {
      header = fields;
      continue;
    }
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
    rows.push_back(row);
  }
  return rows;
}

std::map<std::string, ManifestImage> readManifest(const std::filesystem::path& file) {
  std::map<std::string, ManifestImage> images;
  std::ifstream in(file);
  const std::regex imageHeading(R"(^## ([a-z0-9-]+)\s*$)");
  const std::regex reportHeading(R"(^### \S+ partition \d+ \(.* at sector (\d+)\)\s*$)");
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
      addFsstatLine(*report, line);
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
