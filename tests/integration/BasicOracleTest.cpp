// Every folder and file The Sleuth Kit lists on a FAT16, FAT32 or NTFS
// partition must come out of the command line's Basic Search at the same
// path with the same size. Where the program's own naming rules give a
// different answer, the difference is listed (tests/support/OracleCases.cpp)
// with the rule that causes it.

#include <gtest/gtest.h>

#include <map>

#include "support/CliRunner.h"
#include "support/OracleCases.h"

namespace dravel::test {
namespace {

struct Listed {
  std::string kind;
  bool deleted = false;
  std::string size;
};

std::map<std::string, Listed> basicListing(const std::filesystem::path& image, const std::string& partition) {
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

class BasicOracle : public ::testing::TestWithParam<OracleCase> {};

TEST_P(BasicOracle, ListsEveryOracleEntryAtItsPathWithItsSize) {
  const auto& c = GetParam();
  const auto image = oracleImage(c);
  if (image.empty()) GTEST_SKIP() << "reference image " << c.image << " is not available";
  const auto partition = partitionAt(image, c.start);
  ASSERT_TRUE(partition) << "no partition listed at sector " << c.start;
  const auto listed = basicListing(image, *partition);
  const auto isListed = [&listed](const std::string& path) { return listed.contains(path); };

  for (const auto& entry : c.entries) {
    const auto path = shownPath(c, entry, isListed);
    if (!path) {
      EXPECT_FALSE(isListed(entry.path)) << entry.path << " is listed after all";
      continue;
    }
    const auto found = listed.find(*path);
    if (found == listed.end()) {
      ADD_FAILURE() << c.name << ": " << entry.path << " (" << entry.kind << ") is not listed";
      continue;
    }
    EXPECT_EQ(found->second.kind, entry.kind) << *path;
    if (entry.kind == "file") {
      EXPECT_EQ(found->second.size, entry.size) << *path;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Partitions, BasicOracle, ::testing::ValuesIn(oracleCases()),
                         [](const auto& param) { return oracleCaseTestName(param.param); });

}  // namespace
}  // namespace dravel::test
