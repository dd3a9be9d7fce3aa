// The project's own images: every formatted partition the generator wrote is
// listed, and its parameters agree with fsstat's report of it.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/Manifest.h"
#include "support/ParamsOracle.h"

namespace dravel::test {
namespace {

struct ProjectImage {
  std::string name;
  std::filesystem::path oracleDir;
};

std::filesystem::path oracleDir(const std::string& name) {
  const std::filesystem::path source = DRAVEL_SOURCE_DIR;
  return name == "sample" ? source / "samples" : source / "tests" / "fixtures" / "images";
}

class ProjectImageTest : public ::testing::TestWithParam<std::string> {
 protected:
  std::vector<std::string> args(std::vector<std::string> command) const {
    std::vector<std::string> out = {"--images-only", "--image", fixtureImage(GetParam()).string()};
    out.insert(out.end(), command.begin(), command.end());
    return out;
  }
  std::vector<std::map<std::string, std::string>> table() const {
    return readTsv(oracleDir(GetParam()) / (GetParam() + ".partitions.tsv"));
  }
};

TEST_P(ProjectImageTest, ListsEveryFormattedPartition) {
  using Listed = std::tuple<std::string, std::uint64_t, std::uint64_t>;
  std::set<Listed> expected;
  for (const auto& row : table()) {
    const std::string& fs = row.at("fs");
    if (fs == "FAT16" || fs == "FAT32" || fs == "NTFS") {
      const auto start = std::stoull(row.at("start"));
      expected.insert({fs, start, start + std::stoull(row.at("sectors"))});
    }
  }
  const auto r = runCli(args({"partitions"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::set<Listed> listed;
  for (const auto& row : r.rows()) listed.insert({row.at(2), std::stoull(row.at(3)), std::stoull(row.at(4))});
  EXPECT_EQ(listed, expected);
}

TEST_P(ProjectImageTest, ParametersAgreeWithFsstat) {
  const auto listed = runCli(args({"partitions"})).rows();
  for (const auto& row : table()) {
    const auto oracle = oracleDir(GetParam()) / (GetParam() + "-p" + row.at("number") + ".fsstat.txt");
    if (!std::filesystem::exists(oracle)) continue;  // not formatted
    const auto start = std::stoull(row.at("start"));
    const auto match = std::find_if(listed.begin(), listed.end(),
                                     [&](const auto& l) { return std::stoull(l.at(3)) == start; });
    ASSERT_NE(match, listed.end()) << "partition at " << start << " not listed";
    const auto r = runCli(args({"params", match->at(0), match->at(1)}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    SCOPED_TRACE(GetParam() + " partition " + row.at("number"));
    expectParametersMatchFsstat(paramValues(r), readFsstat(oracle, start));
  }
}

INSTANTIATE_TEST_SUITE_P(Images, ProjectImageTest, ::testing::Values("sample", "mbr-mixed", "gpt-mixed"),
                         [](const auto& paramInfo) {
                           std::string name = paramInfo.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace dravel::test
