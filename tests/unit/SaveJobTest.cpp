// The save job over a small result made by hand: the plan's paths and safe
// names, the file-exists answers, Stop and Skip, a full destination, links
// planted in the destination, and the temporary copies an Open makes.

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <map>

#include "results/SaveJob.h"
#include "support/TempDir.h"

namespace dravel::results {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ContentRow fileRow(const std::string& name, std::uint64_t size, std::uint64_t id = 1) {
  ContentRow row;
  row.name = name;
  row.size = size;
  row.id = id;
  return row;
}

// Root ─ Docs ─ Deep, "../../x" (a hostile folder name), ORV_Miscellaneous;
// every file's content is its name repeated up to its size.
class FakeResult final : public RecoveredResult {
 public:
  FakeResult() {
    root = tree.ensureRoot();
    tree.setText(root, kRootName);
    docs = add(root, "Docs", 10);
    deep = add(docs, "Deep", 11);
    hostile = add(root, "../../x", 12);
    orphan = add(root, kOrphanFolderName, kOrphanFolderId);
    files[root] = {fileRow("top.txt", 10)};
    files[docs] = {fileRow("a.txt", 5000), fileRow("b/c.txt", 20)};
    files[deep] = {fileRow("d.txt", 30)};
    files[hostile] = {fileRow("..", 3), fileRow("evil\n.txt", 4)};
    files[orphan] = {fileRow("lost.txt", 7)};
  }

  void readTree(const std::function<void(const ResultTree&)>& reader) const override { reader(tree); }
  bool list(NodeId node, const std::atomic<bool>&, ListingSink& sink) override {
    ++listings[node];
    for (const NodeId child : tree.node(node).children) {
      ContentRow row;
      row.folder = true;
      row.name = tree.node(child).text;
      row.node = child;
      sink.row(row);
    }
    for (const auto& row : files[node]) sink.row(row);
    return true;
  }
  WriteResult writeContent(const ContentRow& row, ContentOutput& out, const WriteControl& control) override {
    if (row.id == kNoContentId) return {WriteStatus::NoContent, 0, 0, 0};
    std::string content;
    while (content.size() < row.size) content += row.name;
    content.resize(static_cast<std::size_t>(row.size));
    // Two units, the flags polled before each, as the engines do.
    const std::size_t half = content.size() / 2;
    for (const auto& part : {content.substr(0, half), content.substr(half)}) {
      if (control.abort != nullptr && control.abort->load()) return {WriteStatus::Aborted, 0, 0, 0};
      if (control.skip != nullptr && control.skip->load()) return {WriteStatus::Skipped, 0, 0, 0};
      if (const int error = out.write(std::as_bytes(std::span(part.data(), part.size()))); error != 0) {
        return {WriteStatus::OutputFailed, 0, 0, error};
      }
      if (duringWrite) duringWrite(row);
    }
    return {WriteStatus::Written, row.size, 0, 0};
  }
  [[nodiscard]] std::string sourceDevicePath() const override { return "\\\\.\\PhysicalDrive9"; }

  static constexpr std::uint64_t kNoContentId = 99;
  ResultTree tree;
  NodeId root, docs, deep, hostile, orphan;
  std::map<NodeId, std::vector<ContentRow>> files;
  std::map<NodeId, int> listings;
  std::function<void(const ContentRow&)> duringWrite;

 private:
  NodeId add(NodeId parent, const std::string& name, std::uint64_t id) {
    FolderInsert f;
    f.parent = parent;
    f.name = name;
    f.selfId = id;
    return tree.insertFolder(f);
  }
};

SavePlan plan(FakeResult& result, const SaveRequest& request) {
  const std::atomic<bool> stop{false};
  CountProgress quiet;
  return planSave(result, request, stop, quiet);
}

std::vector<std::string> filePaths(const SavePlan& p) {
  std::vector<std::string> out;
  for (const auto& f : p.files) out.push_back(f.relativePath);
  return out;
}

TEST(SafeComponent, NamesNeverLeaveTheirFolder) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"report.txt", "report.txt"},
      {"../../x", ".._.._x"},
      {"a/b", "a_b"},
      {"tab\there\nnew", "tab_here_new"},
      {std::string("nul\0byte", 8), "nul_byte"},
      {"del\x7F", "del_"},
      {"", "_"},
      {".", "_"},
      {"..", "__"},
      {"...", "..."},
      {"Résumé ü.txt", "Résumé ü.txt"},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(safeComponent(name), expected) << name;
}

TEST(SafeComponent, OverlongNamesKeepTheirExtensionAndWholeCharacters) {
  std::string name;
  for (int i = 0; i < 120; ++i) name += "é";  // 240 bytes
  name += "abcdefghijklmnopq.txt";
  const std::string safe = safeComponent(name);
  EXPECT_LE(safe.size(), 255u);
  EXPECT_TRUE(safe.ends_with(".txt"));
  // Cut between characters: every "é" is whole.
  EXPECT_EQ(safe.find("\xC3.txt"), std::string::npos);
}

TEST(SavePlan, WholeTreeMirrorsPathsBelowRoot) {
  FakeResult result;
  const auto p = plan(result, {{result.root}, kNoNode, {}});
  EXPECT_FALSE(p.stopped);
  EXPECT_EQ(p.folders, (std::vector<std::string>{"Docs", ".._.._x", "ORV_Miscellaneous", "Docs/Deep"}));
  EXPECT_EQ(filePaths(p), (std::vector<std::string>{"top.txt", "Docs/a.txt", "Docs/b_c.txt", "Docs/Deep/d.txt",
                                                    ".._.._x/__", ".._.._x/evil_.txt", "ORV_Miscellaneous/lost.txt"}));
  for (const auto& [node, count] : result.listings) EXPECT_EQ(count, 1) << "folder listed " << count << " times";
}

TEST(SavePlan, FolderKeepsItsPathAndIsCountedOnce) {
  FakeResult result;
  // Deep inside Docs, and Docs itself: Deep's files come once.
  const auto p = plan(result, {{result.deep, result.docs}, kNoNode, {}});
  EXPECT_EQ(p.folders, (std::vector<std::string>{"Docs", "Docs/Deep"}));
  EXPECT_EQ(filePaths(p), (std::vector<std::string>{"Docs/Deep/d.txt", "Docs/a.txt", "Docs/b_c.txt"}));
}

TEST(SavePlan, RowsOfAContentListKeepTheirFolderPath) {
  FakeResult result;
  ContentRow deepRow;
  deepRow.folder = true;
  deepRow.name = "Deep";
  deepRow.node = result.deep;
  const auto p = plan(result, {{}, result.docs, {fileRow("a.txt", 5000), deepRow}});
  EXPECT_EQ(p.folders, (std::vector<std::string>{"Docs", "Docs/Deep"}));
  EXPECT_EQ(filePaths(p), (std::vector<std::string>{"Docs/a.txt", "Docs/Deep/d.txt"}));
}

TEST(SavePlan, StopEndsTheCount) {
  FakeResult result;
  const std::atomic<bool> stop{true};
  CountProgress quiet;
  EXPECT_TRUE(planSave(result, {{result.root}, kNoNode, {}}, stop, quiet).stopped);
}

TEST(FreeName, FirstFreeNumberInPlaceOfTheLastDot) {
  test::TempDir dir;
  test::writeFile(dir / "report_dd_1.txt", "x");
  test::writeFile(dir / "report_dd_2.txt", "x");
  std::uint64_t running = 1;
  EXPECT_EQ(freeName(dir / "report.txt", running), dir / "report_dd_3.txt");
  EXPECT_EQ(running, 3u);
  EXPECT_EQ(freeName(dir / "README", running), dir / "README_dd_3");
  EXPECT_EQ(freeName(dir / "archive.tar.gz", running), dir / "archive.tar_dd_3.gz");
  // A dangling link takes the name too.
  fs::create_symlink(dir / "nowhere", dir / "README_dd_3");
  EXPECT_EQ(freeName(dir / "README", running), dir / "README_dd_4");
}

// Saves Root below `dest`, answering every existing target with `answers`
// in turn; returns the summary and the questions asked.
struct Saved {
  SaveSummary summary;
  std::vector<fs::path> asked;
};

Saved saveAll(FakeResult& result, const fs::path& dest, std::vector<ExistsAnswer> answers,
              std::atomic<bool>* abort = nullptr, std::atomic<bool>* skip = nullptr) {
  Saved saved;
  SaveControl control;
  control.abort = abort;
  control.skip = skip;
  std::size_t next = 0;
  control.ask = [&](const fs::path& target, const fs::path&) {
    saved.asked.push_back(target);
    return next < answers.size() ? answers[next++] : ExistsAnswer{ExistsChoice::Skip, false, {}};
  };
  SaveProgress quiet;
  saved.summary = runSave(result, plan(result, {{result.docs}, kNoNode, {}}), dest, control, quiet);
  return saved;
}

struct ExistsCase {
  const char* name;
  std::vector<ExistsAnswer> answers;
  std::size_t questions;
  std::string aAfter;  // Docs/a.txt afterwards (starts as "old")
  std::string bAfter;  // Docs/b_c.txt afterwards (starts as "old")
  std::vector<std::string> renamed;  // files made beside them
  bool aborted;
};

void PrintTo(const ExistsCase& c, std::ostream* os) { *os << c.name; }

class ExistsRules : public ::testing::TestWithParam<ExistsCase> {};

TEST_P(ExistsRules, AnswersApplyAsGiven) {
  const auto& c = GetParam();
  FakeResult result;
  test::TempDir dest;
  test::writeFile(dest / "Docs/a.txt", "old");
  test::writeFile(dest / "Docs/b_c.txt", "old");
  test::writeFile(dest / "Docs/a_dd_1.txt", "taken");
  auto answers = c.answers;
  for (auto& answer : answers) {
    if (answer.renameTo == "EDITED") answer.renameTo = dest / "Docs/edited.txt";
  }
  const auto saved = saveAll(result, dest.path(), answers);
  EXPECT_EQ(saved.asked.size(), c.questions);
  const std::string aNew = readText(dest / "Docs/a.txt") == "old" ? "old" : "new";
  EXPECT_EQ(aNew, c.aAfter);
  EXPECT_EQ(readText(dest / "Docs/b_c.txt") == "old" ? "old" : "new", c.bAfter);
  for (const auto& name : c.renamed) EXPECT_TRUE(fs::exists(dest / "Docs" / name)) << name;
  EXPECT_EQ(saved.summary.aborted, c.aborted);
  // Deep's file comes after the clashes: written unless the save was cancelled.
  EXPECT_EQ(fs::exists(dest / "Docs/Deep/d.txt"), !c.aborted);
}

const ExistsAnswer kOverwrite{ExistsChoice::Overwrite, false, {}};
const ExistsAnswer kOverwriteAll{ExistsChoice::Overwrite, true, {}};
const ExistsAnswer kSkip{ExistsChoice::Skip, false, {}};
const ExistsAnswer kSkipAll{ExistsChoice::Skip, true, {}};
const ExistsAnswer kRenameAll{ExistsChoice::Rename, true, {}};
const ExistsAnswer kCancel{ExistsChoice::Cancel, false, {}};

INSTANTIATE_TEST_SUITE_P(
    Cases, ExistsRules,
    ::testing::Values(ExistsCase{"OverwriteThenSkip", {kOverwrite, kSkip}, 2, "new", "old", {}, false},
                      ExistsCase{"OverwriteAll", {kOverwriteAll}, 1, "new", "new", {}, false},
                      ExistsCase{"SkipAll", {kSkipAll}, 1, "old", "old", {}, false},
                      // a_dd_1.txt is taken: the first free number is 2, and it is kept.
                      ExistsCase{"RenameAll", {kRenameAll}, 1, "old", "old", {"a_dd_2.txt", "b_c_dd_2.txt"}, false},
                      ExistsCase{"RenameToTheEditedName",
                                 {ExistsAnswer{ExistsChoice::Rename, false, "EDITED"}, kSkip},
                                 2, "old", "old", {"edited.txt"}, false},
                      ExistsCase{"CancelSkipsAndStops", {kCancel}, 1, "old", "old", {}, true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RunSave, StopEndsAfterTheCurrentUnitAndLeavesNoPartialFile) {
  FakeResult result;
  test::TempDir dest;
  std::atomic<bool> abort{false};
  result.duringWrite = [&](const ContentRow& row) {
    if (row.name == "a.txt") abort = true;
  };
  const auto saved = saveAll(result, dest.path(), {}, &abort);
  EXPECT_TRUE(saved.summary.aborted);
  EXPECT_FALSE(fs::exists(dest / "Docs/a.txt"));
  EXPECT_FALSE(fs::exists(dest / "Docs/b_c.txt"));
  // Nothing else is left in the folder either (no temporary file).
  EXPECT_TRUE(fs::is_empty(dest / "Docs/Deep"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dest / "Docs"), {}), 1);
}

TEST(RunSave, SkipAbandonsTheCurrentFileOnly) {
  FakeResult result;
  test::TempDir dest;
  std::atomic<bool> skip{false};
  result.duringWrite = [&](const ContentRow& row) {
    if (row.name == "a.txt") skip = true;
  };
  const auto saved = saveAll(result, dest.path(), {}, nullptr, &skip);
  EXPECT_FALSE(saved.summary.aborted);
  EXPECT_EQ(saved.summary.filesSkipped, 1u);
  EXPECT_FALSE(fs::exists(dest / "Docs/a.txt"));
  EXPECT_EQ(readText(dest / "Docs/b_c.txt"), "b/c.txtb/c.txtb/c.tx");
  EXPECT_TRUE(fs::exists(dest / "Docs/Deep/d.txt"));
  EXPECT_FALSE(skip.load());
}

TEST(RunSave, FailuresAreListedAndTheSaveGoesOn) {
  FakeResult result;
  result.files[result.docs][0].id = FakeResult::kNoContentId;
  test::TempDir dest;
  const auto saved = saveAll(result, dest.path(), {});
  ASSERT_EQ(saved.summary.failures.size(), 1u);
  EXPECT_TRUE(saved.summary.failures[0].starts_with("Docs/a.txt: ")) << saved.summary.failures[0];
  EXPECT_FALSE(fs::exists(dest / "Docs/a.txt"));
  EXPECT_EQ(saved.summary.filesWritten, 2u);
  EXPECT_EQ(saved.summary.foldersCreated, 2u);
}

TEST(RunSave, LinksPlantedInTheDestinationAreNotFollowed) {
  FakeResult result;
  test::TempDir dest;
  test::TempDir outside;
  test::writeFile(outside / "a.txt", "precious");
  fs::create_directory(dest / "Docs");
  // A folder link on the way, and a file link at a target.
  fs::create_directory_symlink(outside.path(), dest / "Docs/Deep");
  fs::create_symlink(outside / "a.txt", dest / "Docs/a.txt");
  const auto saved = saveAll(result, dest.path(), {kOverwriteAll});
  EXPECT_EQ(readText(outside / "a.txt"), "precious");
  EXPECT_FALSE(fs::exists(outside / "d.txt"));
  // The file link was replaced by the file itself.
  EXPECT_FALSE(fs::is_symlink(dest / "Docs/a.txt"));
  EXPECT_EQ(readText(dest / "Docs/a.txt").size(), 5000u);
  EXPECT_FALSE(saved.summary.failures.empty());
}

TEST(RunSave, FullDestinationEndsTheSave) {
  test::TempDir dest;
  if (::mount("tmpfs", dest.path().c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "cannot mount a small file system here (needs root)";
  }
  struct Unmount {
    const fs::path& at;
    ~Unmount() { (void)::umount2(at.c_str(), MNT_DETACH); }
  } unmount{dest.path()};
  FakeResult result;
  result.files[result.docs][0].size = 1 << 20;  // a.txt: 1 MiB does not fit
  const auto saved = saveAll(result, dest.path(), {});
  EXPECT_TRUE(saved.summary.diskFull);
  EXPECT_TRUE(saved.summary.aborted);
  EXPECT_FALSE(fs::exists(dest / "Docs/a.txt"));
  EXPECT_FALSE(fs::exists(dest / "Docs/b_c.txt"));  // after the full disk, nothing more
  EXPECT_EQ(std::distance(fs::directory_iterator(dest / "Docs"), {}), 1);  // Deep only, no partial file
}

TEST(TemporaryCopy, NumberedNamesWithTheExtension) {
  FakeResult result;
  test::TempDir dir;
  const auto first = writeTemporaryCopy(result, fileRow("photo.jpg", 12), dir.path());
  ASSERT_TRUE(first);
  const std::string name = first->filename().string();
  ASSERT_TRUE(name.starts_with("TUL") && name.ends_with(".jpg")) << name;
  const int n = std::stoi(name.substr(3));
  EXPECT_EQ(readText(*first), "photo.jpgpho");
  EXPECT_EQ(*writeTemporaryCopy(result, fileRow("README", 3), dir.path()), dir / ("TUL" + std::to_string(n + 1)));
  EXPECT_EQ(*writeTemporaryCopy(result, fileRow("ends.", 3), dir.path()), dir / ("TUL" + std::to_string(n + 2)));
  EXPECT_FALSE(writeTemporaryCopy(result, fileRow("gone.txt", 3, FakeResult::kNoContentId), dir.path()));
  EXPECT_FALSE(fs::exists(dir / ("TUL" + std::to_string(n + 3) + ".txt")));
}

TEST(TemporaryCopy, AFileOfTheNextNameIsReplaced) {
  FakeResult result;
  test::TempDir dir;
  const auto probe = writeTemporaryCopy(result, fileRow("x.bin", 1), dir.path());
  ASSERT_TRUE(probe);
  const int next = std::stoi(probe->filename().string().substr(3)) + 1;
  const auto stale = dir / ("TUL" + std::to_string(next) + ".txt");
  test::writeFile(stale, "stale content from an earlier run");
  EXPECT_EQ(writeTemporaryCopy(result, fileRow("new.txt", 7), dir.path()), stale);
  EXPECT_EQ(readText(stale), "new.txt");
}

}  // namespace
}  // namespace dravel::results
