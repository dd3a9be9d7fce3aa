#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/ScopedState.h"
#include "platform/System.h"

namespace dravel::platform {
namespace {

struct LogPathCase {
  const char* argument;
  const char* path;
};

class CommandLineLogPathTest : public ::testing::TestWithParam<LogPathCase> {};

TEST_P(CommandLineLogPathTest, TrimsBlanksThenDropsOneQuoteAtEachEnd) {
  EXPECT_EQ(commandLineLogPath(GetParam().argument), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineLogPathTest,
    ::testing::Values(LogPathCase{"/home/ann/scan.ZVT", "/home/ann/scan.ZVT"},
                      LogPathCase{"  \t/home/ann/scan.ZVT \r\n", "/home/ann/scan.ZVT"},
                      LogPathCase{"\"/home/ann/my scans/a.ZVT\"", "/home/ann/my scans/a.ZVT"},
                      // The blanks are trimmed before the quotes are looked at.
                      LogPathCase{"  \"/tmp/a.ZVT\"  ", "/tmp/a.ZVT"},
                      // ...and not again after: blanks inside the quotes belong to the path.
                      LogPathCase{"\" /tmp/a.ZVT \"", " /tmp/a.ZVT "},
                      // A quote at one end only is still removed.
                      LogPathCase{"\"/tmp/a.ZVT", "/tmp/a.ZVT"}, LogPathCase{"/tmp/a.ZVT\"", "/tmp/a.ZVT"},
                      // Only one quote per end.
                      LogPathCase{"\"\"/tmp/a.ZVT\"\"", "\"/tmp/a.ZVT\""},
                      // A quote inside the path, with none at the ends, stays.
                      LogPathCase{"/tmp/a\"b.ZVT", "/tmp/a\"b.ZVT"},
                      // A lone quote is both the first and the last character: nothing is left.
                      LogPathCase{"\"", ""}, LogPathCase{"\"\"", ""}, LogPathCase{"   ", ""}, LogPathCase{"", ""}));

struct TmpDirCase {
  const char* name;
  std::optional<std::string> tmpdir;
  const char* folder;
};

class TemporaryFolderTest : public ::testing::TestWithParam<TmpDirCase> {};

TEST_P(TemporaryFolderTest, FollowsTmpdirUnlessItIsEmptyOrUnset) {
  const test::ScopedEnv env("TMPDIR", GetParam().tmpdir);
  EXPECT_EQ(temporaryFolder(), std::filesystem::path(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(Environment, TemporaryFolderTest,
                         ::testing::Values(TmpDirCase{"Set", "/var/tmp/dravel", "/var/tmp/dravel"},
                                           TmpDirCase{"Empty", "", "/tmp"},
                                           TmpDirCase{"Unset", std::nullopt, "/tmp"}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace dravel::platform
