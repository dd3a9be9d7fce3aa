// The command line's save: every file whose content the fixtures record
// comes back with that content (live files, fragmented ones, and deleted
// ones whose clusters were not reused), at the path `basic` prints; and the
// command's paths, answers to existing files and refusals.

#include <gtest/gtest.h>

#include <map>

#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/OracleCases.h"
#include "support/Sha256.h"
#include "support/TempDir.h"

namespace dravel::test {
namespace {

namespace fs = std::filesystem;

// Files with a known content, minus those whose clusters were reused.
bool recoverable(const TruthEntry& entry) {
  return entry.kind == "file" && !entry.sha256.empty() && entry.note.find("overwritten") == std::string::npos;
}

class SavedContent : public ::testing::TestWithParam<OracleCase> {};

TEST_P(SavedContent, EveryRecoverableFileHasItsContent) {
  const auto& c = GetParam();
  const fs::path image = oracleImage(c);
  if (image.empty()) GTEST_SKIP() << "reference image " << c.image << " is not available";
  const auto partition = partitionAt(image, c.start);
  ASSERT_TRUE(partition) << "no partition listed at sector " << c.start;
  TempDir dest;
  const auto r = runCli(withImage(image, {"save", "0", *partition, dest.path().string()}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const auto isSaved = [&dest](const std::string& path) { return fs::exists(dest / path); };

  for (const auto& entry : c.entries) {
    if (!recoverable(entry)) continue;
    const auto path = shownPath(c, entry, isSaved);
    if (!path) continue;
    const auto hash = sha256OfFile(dest / *path);
    if (!hash) {
      ADD_FAILURE() << c.name << ": " << entry.path << " was not saved (looked for " << *path << ")";
      continue;
    }
    EXPECT_EQ(*hash, entry.sha256) << c.name << ": " << *path;
  }
}

INSTANTIATE_TEST_SUITE_P(Partitions, SavedContent, ::testing::ValuesIn(oracleCases()),
                         [](const auto& param) { return oracleCaseTestName(param.param); });

std::vector<std::string> saveSample(const fs::path& dest, std::vector<std::string> tail = {}) {
  std::vector<std::string> command = {"save", "0", "1", dest.string()};
  command.insert(command.end(), tail.begin(), tail.end());
  return withImage(fixtureImage("sample"), command);
}

std::size_t entriesBelow(const fs::path& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::recursive_directory_iterator(dir)) ++n;
  return n;
}

TEST(CliSave, PathsAsBasicPrintsThem) {
  TempDir dest;
  const auto r = runCli(saveSample(dest.path(), {"Documents/Letters", "README.TXT"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "saved 4 files in 2 folders, 4040 bytes\n");
  EXPECT_TRUE(fs::exists(dest / "README.TXT"));
  EXPECT_TRUE(fs::exists(dest / "Documents/Letters/old draft.txt"));
  EXPECT_FALSE(fs::exists(dest / "Documents/Agenda.txt"));
}

TEST(CliSave, PathThatNamesNothingSavesNothing) {
  TempDir dest;
  const auto r = runCli(saveSample(dest.path(), {"README.TXT", "Documents/nothing here.txt"}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("no recovered file or folder at 'Documents/nothing here.txt'; nothing was saved"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(entriesBelow(dest.path()), 0u);
}

TEST(CliSave, ExistingFilesFollowTheAnswer) {
  TempDir dest;
  ASSERT_EQ(runCli(saveSample(dest.path(), {"Music"})).exitCode, 0);
  const auto skipped = runCli(saveSample(dest.path(), {"Music"}));
  EXPECT_EQ(skipped.out, "saved 0 files in 1 folders, 0 bytes\n");
  const auto renamed = runCli(saveSample(dest.path(), {"Music", "--on-exists", "rename"}));
  EXPECT_EQ(renamed.exitCode, 0) << renamed.err;
  EXPECT_TRUE(fs::exists(dest / "Music/lyrics_dd_1.txt"));
  EXPECT_TRUE(fs::exists(dest / "Music/Playlist_dd_1.m3u"));
  EXPECT_EQ(runCli(saveSample(dest.path(), {"Music", "--on-exists", "overwrite"})).exitCode, 0);
  EXPECT_EQ(entriesBelow(dest / "Music"), 6u);
}

TEST(CliSave, RefusesBadDestinationsAndArguments) {
  TempDir dir;
  writeFile(dir / "file.txt", "x");
  struct Case {
    std::vector<std::string> command;
    int exitCode;
    const char* errorText;
  };
  const Case cases[] = {
      {saveSample(dir / "missing"), 1,
       "Invalid destination path. Please provide a valid location path to save the recovered data."},
      {saveSample(dir / "file.txt"), 1,
       "Invalid destination path. Please provide a valid location path to save the recovered data."},
      {saveSample(dir.path(), {"--on-exists", "ask"}), 2, "--on-exists takes overwrite, skip or rename"},
      {withImage(fixtureImage("sample"), {"save", "0", "1"}), 2, "save takes a disk and a partition number"},
  };
  for (const auto& c : cases) {
    const auto r = runCli(c.command);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.errorText;
    EXPECT_NE(r.err.find(c.errorText), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace dravel::test
