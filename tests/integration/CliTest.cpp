// The command line's formats, compared as text, and its exit codes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/CliRunner.h"
#include "support/Fixtures.h"

namespace dravel::test {
namespace {

std::string golden(const std::string& name) {
  std::ifstream in(std::filesystem::path(DRAVEL_SOURCE_DIR) / "tests" / "integration" / "golden" / name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Cli, DrivesTreeMatchesGolden) {
  const auto r = runCli(withFixtureImages({"disks"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, golden("disks.txt"));
  EXPECT_EQ(r.err, "");
}

TEST(Cli, PartitionsMatchGolden) {
  const auto r = runCli(withFixtureImages({"partitions"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, golden("partitions.txt"));
}

// The information rows keep their exact labels; the computer name row is the
// machine's own and is left out of the comparison.
TEST(Cli, InformationRowsMatchGolden) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"info", "1"}, "info-disk.txt"},
      {{"info", "Disk1", "6"}, "info-partition.txt"},
      {{"info", "f:"}, "info-volume.txt"},
      {{"--mode", "deep", "info", "K:"}, "info-volume-deep.txt"},
  };
  for (const auto& [command, file] : cases) {
    auto r = runCli(withFixtureImages(command));
    ASSERT_EQ(r.exitCode, 0) << file << ": " << r.err;
    std::string text;
    for (const auto& line : r.lines()) {
      if (!line.starts_with("12. System Name :")) text += line + "\n";
    }
    EXPECT_EQ(text, golden(file)) << file;
  }
}

TEST(Cli, ExitCodes) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* errorText;
  };
  const Case cases[] = {
      {{}, 2, "no command"},
      {{"--images-only", "explode"}, 2, "unknown command 'explode'"},
      {{"--image"}, 2, "--image needs a file"},
      {{"--images-only", "disks", "extra"}, 2, "disks takes no arguments"},
      {withFixtureImages({"params", "0"}), 2, "params takes a disk number and a partition number"},
      {withFixtureImages({"params", "x", "1"}), 2, "bad disk number 'x'"},
      {withFixtureImages({"params", "0", "99999999999999999999999"}), 2, "bad partition number"},
      {withFixtureImages({"--mode", "turbo", "disks"}), 2, "unknown mode 'turbo'"},
      {withFixtureImages({"params", "7", "1"}), 1, "disk 7 is not listed"},
      {withFixtureImages({"params", "0", "2"}), 1, "disk 0 has no partition 2"},
      {withFixtureImages({"info", "Z:"}), 1, "drive Z: is not listed"},
      {withFixtureImages({"info", "0", "0"}), 1, "disk 0 has no partition 0"},
  };
  for (const auto& c : cases) {
    const auto r = runCli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.errorText;
    EXPECT_NE(r.err.find(c.errorText), std::string::npos) << r.err;
  }
}

// An image that cannot be opened keeps its disk number but is not listed; the
// others are, and the reason is said once on stderr.
TEST(Cli, MissingImageIsSkippedWithAWarning) {
  const auto r = runCli({"--images-only", "--image", "/nonexistent/lost.img", "--image",
                         fixtureImage("sample").string(), "partitions"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "1\t1\tFAT32\t2048\t128520\n");
  EXPECT_NE(r.err.find("cannot open image /nonexistent/lost.img"), std::string::npos) << r.err;
}

// The program itself, not only its library: exit status and streams.
TEST(Cli, ProgramExitStatus) {
  const std::string cli = DRAVEL_CLI_PATH;
  EXPECT_EQ(WEXITSTATUS(std::system((cli + " >/dev/null 2>&1").c_str())), 2);
  EXPECT_EQ(WEXITSTATUS(std::system((cli + " --images-only --image " + fixtureImage("sample").string() +
                                     " params 0 1 >/dev/null").c_str())), 0);
  EXPECT_EQ(WEXITSTATUS(std::system((cli + " --images-only params 0 1 2>/dev/null").c_str())), 1);
}

}  // namespace
}  // namespace dravel::test
