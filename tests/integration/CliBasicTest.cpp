// The command line's Basic Search: its line format, its errors, the same
// result from a partition and from the logical drive on it, and the partial
// result after --stop-after.

#include <gtest/gtest.h>

#include <regex>

#include "BasicListing.h"
#include "support/CliRunner.h"
#include "support/Fixtures.h"

namespace dravel::test {
namespace {

TEST(CliBasic, RefusesWhatItCannotScan) {
  struct Case {
    std::vector<std::string> command;
    int exitCode;
    const char* errorText;
  };
  const Case cases[] = {
      {{"basic", "0"}, 2, "basic takes a disk and a partition number, or --volume LETTER"},
      {{"basic", "0", "1", "--stop-after", "0"}, 2, "--stop-after takes a positive number"},
      {{"basic", "0", "1", "--stop-after", "many"}, 2, "--stop-after takes a positive number"},
      {{"basic", "9", "1"}, 1, "disk 9 is not listed"},
      {{"basic", "--volume", "Z"}, 1, "drive Z: is not listed"},
      {{"basic", "--volume", "J"}, 1,
       "Recovery is not possible in Basic Search Mode, use other search mode to recover your data."},
  };
  for (const auto& c : cases) {
    const auto r = runCli(withFixtureImages(c.command));
    EXPECT_EQ(r.exitCode, c.exitCode) << c.errorText;
    EXPECT_NE(r.err.find(c.errorText), std::string::npos) << r.err;
  }
}

TEST(CliBasic, EveryLineHasSevenFieldsInTheDocumentedForm) {
  const auto r = runCli(withFixtureImages({"basic", "1", "3"}));  // NTFS
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::regex line(R"((dir|file)\t[01]\t\d+\t\d{4}-\d{2}-\d{2}\t\d{2}:\d{2}:\d{2}\t\d+\t[^/\t][^\t]*)");
  ASSERT_FALSE(r.lines().empty());
  for (const auto& l : r.lines()) EXPECT_TRUE(std::regex_match(l, line)) << l;
}

TEST(CliBasic, LogicalDriveGivesTheSameResultAsItsPartition) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{"basic", "0", "1"}, {"basic", "--volume", "C"}},   // FAT32
      {{"basic", "1", "1"}, {"basic", "--volume", "d:"}},  // FAT16
      {{"basic", "1", "3"}, {"basic", "--volume", "F"}},   // NTFS
  };
  for (const auto& [partition, volume] : cases) {
    const auto a = runCli(withFixtureImages(partition));
    const auto b = runCli(withFixtureImages(volume));
    ASSERT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(a.out, b.out) << volume.back();
  }
}

TEST(CliBasic, ShowsTheSamplesDeletedFile) {
  const auto r = runCli(withFixtureImages({"basic", "0", "1"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  bool found = false;
  for (const auto& row : r.rows()) {
    if (row.size() == 7 && row[6] == "_LDLOG.TXT") {
      found = true;
      EXPECT_EQ(row[0], "file");
      EXPECT_EQ(row[1], "1");
      EXPECT_EQ(row[2], "2900");
    }
  }
  EXPECT_TRUE(found) << r.out;
}

// The FAT partition's folders all lie in its first block, so its partial
// result may be whole; the NTFS one stops after its first MFT record.
TEST(CliBasic, StopAfterOneBlockPrintsThePartialResult) {
  const std::pair<std::vector<std::string>, bool> cases[] = {{{"basic", "1", "2"}, false}, {{"basic", "1", "3"}, true}};
  for (const auto& [partition, shorter] : cases) {
    auto command = partition;
    command.insert(command.end(), {"--stop-after", "1"});
    const auto r = runCli(withFixtureImages(command));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("the result is partial"), std::string::npos) << r.err;
    const auto full = runCli(withFixtureImages(partition));
    if (shorter) {
      EXPECT_LT(r.lines().size(), full.lines().size()) << partition.back();
    } else {
      // The FAT scan puts the orphan folder first, whatever it found after.
      EXPECT_NE(r.out.find("ORV_Miscellaneous"), std::string::npos) << r.out;
      EXPECT_LE(r.lines().size(), full.lines().size()) << partition.back();
    }
  }
}

TEST(CliBasic, EscapesTabsNewlinesAndBackslashesInNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain name.txt", "plain name.txt"},
      {"a\tb", "a\\tb"},
      {"line\nbreak", "line\\nbreak"},
      {"back\\slash", "back\\\\slash"},
  };
  for (const auto& [name, field] : cases) EXPECT_EQ(cli::escapeField(name), field);
}

}  // namespace
}  // namespace dravel::test
