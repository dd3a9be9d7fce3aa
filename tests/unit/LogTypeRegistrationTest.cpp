#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "support/ScopedState.h"
#include "support/TempDir.h"
#include "platform/LogTypeRegistration.h"

namespace dravel::platform {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The value of `key=` in a desktop entry, or nullopt.
std::optional<std::string> entryValue(const std::string& entry, const std::string& key) {
  std::istringstream lines(entry);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  }
  return std::nullopt;
}

struct ExecCase {
  const char* name;
  const char* program;
  const char* exec;  // as it stands in the file
};

class DesktopExecLineTest : public ::testing::TestWithParam<ExecCase> {};

// Two layers apply: the value's own string escapes (\\, \t, \n, ...) are
// undone first, then the Exec quoting ("...", with \" \` \$ \\ inside).
TEST_P(DesktopExecLineTest, QuotesAndEscapesReservedCharacters) {
  EXPECT_EQ(desktopExecLine(GetParam().program), GetParam().exec);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, DesktopExecLineTest,
    ::testing::Values(
        ExecCase{"Plain", "/opt/kestavine/bin/dravel", "/opt/kestavine/bin/dravel %f"},
        // Characters outside the reserved set need no quotes.
        ExecCase{"NotReserved", "/opt/a=b,c+d@e/dravel", "/opt/a=b,c+d@e/dravel %f"},
        ExecCase{"Blank", "/opt/My Apps/dravel", "\"/opt/My Apps/dravel\" %f"},
        ExecCase{"SingleQuote", "/opt/Ann's/dravel", "\"/opt/Ann's/dravel\" %f"},
        ExecCase{"DoubleQuote", "/opt/a\"b/dravel", "\"/opt/a\\\\\"b/dravel\" %f"},
        ExecCase{"Backslash", "/opt/a\\b/dravel", "\"/opt/a\\\\\\\\b/dravel\" %f"},
        ExecCase{"Dollar", "/opt/$HOME/dravel", "\"/opt/\\\\$HOME/dravel\" %f"},
        ExecCase{"Backtick", "/opt/`x`/dravel", "\"/opt/\\\\`x\\\\`/dravel\" %f"},
        ExecCase{"Percent", "/opt/100%/dravel", "\"/opt/100%%/dravel\" %f"},
        ExecCase{"OtherReserved", "/opt/~a|b&c;d*e?f#g(h)<i>/dravel", "\"/opt/~a|b&c;d*e?f#g(h)<i>/dravel\" %f"},
        // Control characters may not stand raw in a value: they take the string escapes.
        ExecCase{"Tab", "/opt/a\tb/dravel", "\"/opt/a\\tb/dravel\" %f"},
        ExecCase{"Newline", "/opt/a\nb/dravel", "\"/opt/a\\nb/dravel\" %f"},
        ExecCase{"CarriageReturn", "/opt/a\rb/dravel", "\"/opt/a\\rb/dravel\" %f"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RegisterLogFileType, WritesMimePackageAndDesktopEntryUnderTheDataFolder) {
  const test::TempDir dir;
  const fs::path dataHome = dir / "data";  // not there yet: it is created
  const test::ScopedEnv xdg("XDG_DATA_HOME", dataHome.string());
  LogTypeRegistration written;
  ASSERT_TRUE(registerLogFileType("/opt/My Apps/dravel", xdgDataHome(), &written));

  EXPECT_EQ(written.mimePackage, dataHome / "mime" / "packages" / "kestavine-recovery-log.xml");
  EXPECT_EQ(written.desktopEntry, dataHome / "applications" / "kestavine-usb-drive-recovery.desktop");

  const std::string mime = readText(written.mimePackage);
  EXPECT_NE(mime.find(std::string("<mime-type type=\"") + kLogMimeType + "\">"), std::string::npos) << mime;
  EXPECT_NE(mime.find("<glob pattern=\"*.ZVT\"/>"), std::string::npos) << mime;
  EXPECT_NE(mime.find("<comment>Log File</comment>"), std::string::npos) << mime;

  const std::string entry = readText(written.desktopEntry);
  EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
  EXPECT_EQ(entryValue(entry, "Exec"), "\"/opt/My Apps/dravel\" %f");
  EXPECT_EQ(entryValue(entry, "MimeType"), std::string(kLogMimeType) + ";");
  EXPECT_EQ(entryValue(entry, "Type"), "Application");
}

TEST(RegisterLogFileType, RewritesOnEveryStartWithoutLeavingTemporaryFiles) {
  const test::TempDir dir;
  LogTypeRegistration written;
  ASSERT_TRUE(registerLogFileType("/old/place/dravel", dir.path(), &written));
  ASSERT_TRUE(registerLogFileType("/new/place/dravel", dir.path(), &written));

  EXPECT_EQ(entryValue(readText(written.desktopEntry), "Exec"), "/new/place/dravel %f");
  for (const auto& folder : {written.mimePackage.parent_path(), written.desktopEntry.parent_path()}) {
    int files = 0;
    for (const auto& e : fs::directory_iterator(folder)) {
      EXPECT_NE(e.path().extension(), ".tmp") << e.path();
      ++files;
    }
    EXPECT_EQ(files, 1) << folder;
  }
}

class RegisterLogFileTypeBlockedTest : public ::testing::TestWithParam<const char*> {};

// A regular file where a folder (or a file name) of the registration must go.
TEST_P(RegisterLogFileTypeBlockedTest, FailsWhenAFileCannotBeWritten) {
  const test::TempDir dir;
  const fs::path data = dir / "data";
  const std::string where = GetParam();
  const fs::path blocker = where.empty() ? data : data / where;
  if (where.ends_with(".desktop")) {
    fs::create_directories(blocker);  // a folder where the entry must go
  } else {
    test::writeFile(blocker, "not a folder");
  }
  EXPECT_FALSE(registerLogFileType("/opt/dravel", data));
}

INSTANTIATE_TEST_SUITE_P(Blockers, RegisterLogFileTypeBlockedTest,
                         ::testing::Values("", "mime", "mime/packages", "applications",
                                           "applications/kestavine-usb-drive-recovery.desktop"));

TEST(RegisterLogFileType, FailsWithoutADataFolder) { EXPECT_FALSE(registerLogFileType("/opt/dravel", fs::path{})); }

struct DataHomeCase {
  const char* name;
  std::optional<std::string> xdg;
  std::optional<std::string> home;
  const char* expected;
};

class XdgDataHomeTest : public ::testing::TestWithParam<DataHomeCase> {};

TEST_P(XdgDataHomeTest, PrefersAnAbsoluteXdgDataHomeThenHome) {
  const test::ScopedEnv xdg("XDG_DATA_HOME", GetParam().xdg);
  const test::ScopedEnv home("HOME", GetParam().home);
  EXPECT_EQ(xdgDataHome(), fs::path(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Environment, XdgDataHomeTest,
    ::testing::Values(DataHomeCase{"XdgSet", "/data/xdg", "/home/ann", "/data/xdg"},
                      DataHomeCase{"XdgEmpty", "", "/home/ann", "/home/ann/.local/share"},
                      DataHomeCase{"XdgUnset", std::nullopt, "/home/ann", "/home/ann/.local/share"},
                      // Relative values are invalid in the base directory rules and are ignored.
                      DataHomeCase{"XdgRelative", "data/xdg", "/home/ann", "/home/ann/.local/share"},
                      DataHomeCase{"Neither", std::nullopt, std::nullopt, ""},
                      DataHomeCase{"HomeEmpty", std::nullopt, "", ""}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace dravel::platform
