// Building the result tree from a folder table: duplicates, orphans, cycles,
// the unnamed-folder counter and the order the folder list keeps.

#include <gtest/gtest.h>

#include "results/FolderTable.h"
#include "results/ResultTree.h"

namespace dravel::results {
namespace {

FolderRow row(std::string name, std::uint32_t self, std::uint32_t parent, bool deleted = false) {
  FolderRow r;
  r.name = std::move(name);
  r.self = self;
  r.parent = parent;
  r.deleted = deleted;
  return r;
}

// The FAT order of steps: orphan marking, root-level pass, breadth-first
// attach, orphans.
ResultTree build(FolderTable table) {
  ResultTree tree;
  table.sortBySelf();
  table.markOrphans(kFatRootId, tree);
  table.sortByParent();
  table.insertFatTree(tree);
  return tree;
}

FolderTable withOrphanRow() {
  FolderTable table;
  table.add(row(kOrphanFolderName, kOrphanFolderId, 0));
  return table;
}

std::string joined(const ResultTree& tree, NodeId id) {
  std::string out;
  for (const auto& part : tree.pathOf(id)) out += (out.empty() ? "" : "/") + part;
  return out;
}

std::vector<std::string> allPaths(const ResultTree& tree) {
  std::vector<std::string> out;
  for (const NodeId id : tree.preorder()) {
    if (!tree.isRoot(id)) out.push_back(joined(tree, id));
  }
  return out;
}

TEST(FolderTreeBuild, NestsFoldersUnderTheirParentsWhateverTheScanOrder) {
  auto table = withOrphanRow();
  table.add(row("Deep", 9, 7));
  table.add(row("Top", 5, 0));
  table.add(row("Middle", 7, 5));
  const auto tree = build(std::move(table));
  // Root-level folders come in id order (the table is sorted by id, then by parent).
  EXPECT_EQ(allPaths(tree), (std::vector<std::string>{"Top", "Top/Middle", "Top/Middle/Deep", kOrphanFolderName}));
}

TEST(FolderTreeBuild, SameClusterFoundTwiceGivesOneItem) {
  auto table = withOrphanRow();
  table.add(row("A", 5, 0));
  table.add(row("A again", 5, 0));
  const auto tree = build(std::move(table));
  EXPECT_EQ(allPaths(tree), (std::vector<std::string>{"A", kOrphanFolderName}));
}

TEST(FolderTreeBuild, FolderWhoseParentWasNotFoundHangsUnderTheOrphanFolder) {
  auto table = withOrphanRow();
  table.add(row("DIR2", 40, 33));  // cluster 33 was never found as a folder
  table.add(row("Child", 41, 40));
  const auto tree = build(std::move(table));
  EXPECT_EQ(allPaths(tree), (std::vector<std::string>{kOrphanFolderName, std::string(kOrphanFolderName) + "/DIR2",
                                                      std::string(kOrphanFolderName) + "/DIR2/Child"}));
  const auto node = tree.nodeForId(40);
  ASSERT_TRUE(node);
  EXPECT_EQ(tree.recordOf(*node)->parentId, kOrphanFolderId);
}

TEST(FolderTreeBuild, FoldersNamingEachOtherAsParentEndUnderTheOrphanFolderOnce) {
  auto table = withOrphanRow();
  table.add(row("X", 10, 11));
  table.add(row("Y", 11, 10));
  const auto tree = build(std::move(table));
  const auto paths = allPaths(tree);
  EXPECT_EQ(paths.size(), 3u);
  EXPECT_NE(std::find(paths.begin(), paths.end(), std::string(kOrphanFolderName) + "/X"), paths.end());
  EXPECT_NE(std::find(paths.begin(), paths.end(), std::string(kOrphanFolderName) + "/Y"), paths.end());
}

TEST(FolderTreeBuild, EmptyScanLeavesRootAndTheOrphanFolder) {
  const auto tree = build(withOrphanRow());
  EXPECT_EQ(allPaths(tree), (std::vector<std::string>{kOrphanFolderName}));
  EXPECT_EQ(tree.node(tree.firstItem()).text, kRootName);
  EXPECT_EQ(tree.node(tree.firstItem()).image, kRootImage);
}

TEST(FolderTreeBuild, UnnamedFoldersCountOnAcrossBuilds) {
  const auto nameOf = [](const ResultTree& tree) { return tree.node(*tree.nodeForId(5)).text; };
  auto first = withOrphanRow();
  first.add(row("", 5, 0));
  first.add(row("", 6, 5));
  auto second = withOrphanRow();
  second.add(row("", 5, 0));
  const auto a = build(std::move(first));
  const auto b = build(std::move(second));
  // Root-level rows keep their (empty) name; attached rows draw a number.
  const std::string childName = a.node(*a.nodeForId(6)).text;
  ASSERT_EQ(childName.rfind("DIR_", 0), 0u) << childName;
  EXPECT_EQ(nameOf(a), "");
  EXPECT_EQ(nameOf(b), "");
  auto third = withOrphanRow();
  third.add(row("", 8, 5));  // parent 5 missing: attached under the orphan folder
  const auto c = build(std::move(third));
  const int before = std::stoi(childName.substr(4));
  EXPECT_GT(std::stoi(c.node(*c.nodeForId(8)).text.substr(4)), before);
}

TEST(FolderTreeBuild, DeferredFolderWhoseParentIsAlreadyInTheTreeIsNotAnOrphan) {
  ResultTree tree;
  const NodeId root = tree.ensureRoot();
  const NodeId parent = tree.insertFolder({root, "Live parent", 64, 0, 0, kNtfsRootId, false, 0});
  FolderTable table;
  table.add(row("Child", 70, 64));
  table.sortBySelf();
  table.markOrphans(kNtfsRootId, tree);
  table.sortByParent();
  table.attachAll(tree);
  const auto child = tree.nodeForId(70);
  ASSERT_TRUE(child);
  EXPECT_EQ(tree.node(*child).parent, parent);
}

TEST(FolderTreeBuild, DeletedFlagStaysWithItsFolder) {
  auto table = withOrphanRow();
  table.add(row("Gone", 5, 0, true));
  table.add(row("Kept", 6, 0));
  const auto tree = build(std::move(table));
  EXPECT_TRUE(tree.recordOf(*tree.nodeForId(5))->deleted);
  EXPECT_FALSE(tree.recordOf(*tree.nodeForId(6))->deleted);
}

TEST(ResultTree, LoadingALogInsertsTheSameIdAgain) {
  ResultTree tree;
  tree.insertFolder({kNoNode, "A", 5, 0, 0, 0, false, 0});
  tree.setLoadingLog(true);
  tree.insertFolder({kNoNode, "A copy", 5, 0, 0, 0, false, 0});
  EXPECT_EQ(tree.folders().size(), 2u);
}

TEST(ResultTree, RenameNeverClearsTheDeletedMark) {
  ResultTree tree;
  const NodeId id = tree.insertFolder({kNoNode, "DIR1", 5, 0, 0, 0, true, 0});
  tree.resolveName(id, "Photos", false);
  EXPECT_EQ(tree.node(id).text, "Photos");
  EXPECT_EQ(tree.recordOf(id)->name, "Photos");
  EXPECT_TRUE(tree.recordOf(id)->deleted);
}

}  // namespace
}  // namespace dravel::results
