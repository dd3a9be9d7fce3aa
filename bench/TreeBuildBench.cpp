// Builds the result tree from a folder table of N folders, as a FAT Basic
// Search does after its scan, and reports the time against sorting the same
// N ids once (the baseline measured in the same run). Run at two sizes: a
// time that grows with N, not N², shows as a size ratio near the ratio of N.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "results/FolderTable.h"
#include "results/ResultTree.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace dravel::results;

FolderTable makeTable(std::uint32_t folders) {
  std::mt19937 rng(11);
  FolderTable table;
  table.add(FolderRow{kOrphanFolderName, 0, kOrphanFolderId, 0, 0, 0, 0, 16, true, false, 0});
  for (std::uint32_t i = 0; i < folders; ++i) {
    const std::uint32_t self = 2 + i * 3;
    // A tree: each folder's parent is an earlier folder or the root, and one
    // in a hundred names a parent that was never found (an orphan).
    std::uint32_t parent = i == 0 ? 0 : 2 + static_cast<std::uint32_t>(rng() % i) * 3;
    if (rng() % 10 == 0) parent = 0;
    if (rng() % 100 == 0) parent = 1;
    table.add(FolderRow{"DIR" + std::to_string(i + 1), 0, self, parent, 0, 0, 0, 16, true, false, 0});
  }
  std::shuffle(table.rows().begin(), table.rows().end(), rng);
  return table;
}

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double buildSeconds(std::uint32_t folders) {
  FolderTable table = makeTable(folders);
  ResultTree tree;
  const auto start = Clock::now();
  table.sortBySelf();
  table.markOrphans(kFatRootId, tree);
  table.sortByParent();
  table.insertFatTree(tree);
  const double took = seconds(start);
  if (tree.folders().size() != folders + 1) std::fprintf(stderr, "tree holds %zu folders\n", tree.folders().size());
  return took;
}

double baselineSeconds(std::uint32_t folders) {
  std::mt19937 rng(11);
  std::vector<std::uint32_t> ids(folders);
  for (auto& id : ids) id = static_cast<std::uint32_t>(rng());
  const auto start = Clock::now();
  std::sort(ids.begin(), ids.end());
  return seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::uint32_t> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 10)));
  if (sizes.empty()) sizes = {100000, 400000};
  double first = 0;
  for (const auto n : sizes) {
    const double build = buildSeconds(n);
    const double base = baselineSeconds(n);
    if (first == 0) first = build;
    std::printf("%8u folders: build %.3f s (target < 1 s per 100,000), %.1fx one sort of the ids, %.2fx the first size\n",
                n, build, base > 0 ? build / base : 0.0, build / first);
  }
  return 0;
}
