#include <gtest/gtest.h>

#include <filesystem>

#include "platform/TemporaryCopies.h"
#include "support/TempDir.h"

namespace dravel::platform {
namespace {

namespace fs = std::filesystem;

class TemporaryCopiesTest : public ::testing::Test {
 protected:
  fs::path file(const std::string& name) {
    test::writeFile(m_dir / name, "x");
    return m_dir / name;
  }
  test::TempDir m_dir;
};

TEST_F(TemporaryCopiesTest, RemovesOnlyFilesNamedTulDirectlyInTheFolder) {
  const auto copy1 = file("TUL0.jpg");
  const auto copy2 = file("TUL17.docx");
  const auto middle = file("aTULb");
  const auto lower = file("tul3.jpg");
  const auto other = file("notes.txt");
  const auto nested = file("TULfolder/TUL5.jpg");

  EXPECT_EQ(removeTemporaryCopies(m_dir.path()), 3u);
  EXPECT_FALSE(fs::exists(copy1));
  EXPECT_FALSE(fs::exists(copy2));
  EXPECT_FALSE(fs::exists(middle));
  EXPECT_TRUE(fs::exists(lower));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::exists(nested));  // a folder named TUL is neither removed nor entered
}

TEST_F(TemporaryCopiesTest, LeavesSymbolicLinksAndWhatTheyPointTo) {
  test::TempDir outside;
  test::writeFile(outside / "TUL1.jpg", "keep");
  fs::create_directory_symlink(outside.path(), m_dir / "TULlinkdir");
  fs::create_symlink(outside / "TUL1.jpg", m_dir / "TULlink.jpg");

  EXPECT_EQ(removeTemporaryCopies(m_dir.path()), 0u);
  EXPECT_TRUE(fs::exists(outside / "TUL1.jpg"));
  EXPECT_TRUE(fs::is_symlink(m_dir / "TULlink.jpg"));
  EXPECT_TRUE(fs::is_symlink(m_dir / "TULlinkdir"));
}

TEST_F(TemporaryCopiesTest, MissingFolderRemovesNothing) { EXPECT_EQ(removeTemporaryCopies(m_dir / "absent"), 0u); }

TEST_F(TemporaryCopiesTest, CopiesFolderIsPrivateAndOnlyAcceptedWhenItIsOurs) {
  const auto folder = temporaryCopiesFolder(m_dir.path());
  EXPECT_EQ(folder.parent_path(), m_dir.path());
  ASSERT_TRUE(prepareTemporaryCopiesFolder(folder));
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_TRUE(prepareTemporaryCopiesFolder(folder));  // already there: fine

  fs::permissions(folder, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
  EXPECT_FALSE(prepareTemporaryCopiesFolder(folder));  // others can look in

  const auto planted = m_dir / "planted";
  fs::create_directory_symlink(m_dir / "elsewhere", planted);
  fs::create_directory(m_dir / "elsewhere");
  EXPECT_FALSE(prepareTemporaryCopiesFolder(planted));
}

}  // namespace
}  // namespace dravel::platform
