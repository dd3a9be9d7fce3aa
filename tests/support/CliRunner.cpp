#include "CliRunner.h"

#include <sstream>

#include "Cli.h"
#include "Fixtures.h"

namespace dravel::test {

std::vector<std::string> CliResult::lines() const {
  std::vector<std::string> out_;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) out_.push_back(line);
  return out_;
}

std::vector<std::vector<std::string>> CliResult::rows() const {
  std::vector<std::vector<std::string>> result;
  for (const auto& line : lines()) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    result.push_back(fields);
  }
  return result;
}

CliResult runCli(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  CliResult r;
  r.exitCode = cli::run(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::vector<std::string> withFixtureImages(std::vector<std::string> command) {
  std::vector<std::string> args = {"--images-only"};
  for (const char* name : {"sample", "mbr-mixed", "gpt-mixed"}) {
    args.push_back("--image");
    args.push_back(fixtureImage(name).string());
  }
  args.insert(args.end(), command.begin(), command.end());
  return args;
}

}  // namespace dravel::test
