#pragma once
// Runs the command line in-process and splits its output into lines and fields.

#include <string>
#include <vector>

namespace dravel::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  [[nodiscard]] std::vector<std::string> lines() const;
  // Each line split at tabs.
  [[nodiscard]] std::vector<std::vector<std::string>> rows() const;
};

[[nodiscard]] CliResult runCli(const std::vector<std::string>& args);

// `command` after the device options that attach the project's three images
// (disks 0 sample, 1 mbr-mixed, 2 gpt-mixed) and nothing else.
[[nodiscard]] std::vector<std::string> withFixtureImages(std::vector<std::string> command);

}  // namespace dravel::test
