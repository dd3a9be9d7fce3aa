#include "ResultWalk.h"

#include <gtest/gtest.h>

#include <functional>

#include "storage/SectorSource.h"

namespace dravel::test {

basic::SourceFactory memoryImage(std::vector<std::byte> bytes) {
  auto shared = std::make_shared<const std::vector<std::byte>>(std::move(bytes));
  return [shared]() -> std::unique_ptr<storage::SectorSource> {
    return std::make_unique<storage::MemorySectorSource>(*shared);
  };
}

std::vector<results::ContentRow> listFolder(basic::BasicSearch& search, results::NodeId node) {
  RowCollector collector;
  const std::atomic<bool> stop{false};
  (void)search.list(node, stop, collector);
  return collector.rows;
}

namespace {

// Lists folder after folder from Root, each folder's rows before its
// subfolders' (folder names are final once their parent was listed).
void walkListings(basic::BasicSearch& search,
                  const std::function<void(const std::string&, const results::ContentRow&)>& visit) {
  results::NodeId root = results::kNoNode;
  search.readTree([&root](const results::ResultTree& tree) { root = tree.firstItem(); });
  if (root == results::kNoNode) return;
  std::function<void(results::NodeId, const std::string&)> walk = [&](results::NodeId node,
                                                                      const std::string& prefix) {
    for (const auto& row : listFolder(search, node)) {
      const std::string path = prefix.empty() ? row.name : prefix + "/" + row.name;
      visit(path, row);
      if (row.folder) walk(row.node, path);
    }
  };
  walk(root, "");
}

}  // namespace

std::map<std::string, results::ContentRow> listEverything(basic::BasicSearch& search) {
  std::map<std::string, results::ContentRow> found;
  walkListings(search, [&found](const std::string& path, const results::ContentRow& row) { found[path] = row; });
  return found;
}

ResultPaths allShown(basic::BasicSearch& search) {
  ResultPaths out;
  walkListings(search, [&out](const std::string& path, const results::ContentRow& row) { out.emplace(path, row); });
  return out;
}

const results::ContentRow* rowAt(const ResultPaths& paths, const std::string& path) {
  if (paths.count(path) != 1) {
    ADD_FAILURE() << path << " is shown " << paths.count(path) << " times";
    return nullptr;
  }
  return &paths.find(path)->second;
}

std::vector<std::string> treePaths(basic::BasicSearch& search) {
  std::vector<std::string> paths;
  search.readTree([&paths](const results::ResultTree& tree) {
    for (const results::NodeId id : tree.preorder()) {
      std::string path;
      for (const auto& name : tree.pathOf(id)) path += (path.empty() ? "" : "/") + name;
      if (!path.empty()) paths.push_back(path);
    }
  });
  return paths;
}

}  // namespace dravel::test
