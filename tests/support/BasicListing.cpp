#include "BasicListing.h"

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

std::map<std::string, results::ContentRow> listEverything(basic::BasicSearch& search) {
  std::map<std::string, results::ContentRow> found;
  results::NodeId root = results::kNoNode;
  search.readTree([&root](const results::ResultTree& tree) { root = tree.firstItem(); });
  if (root == results::kNoNode) return found;
  std::function<void(results::NodeId, const std::string&)> visit = [&](results::NodeId node,
                                                                       const std::string& prefix) {
    for (const auto& row : listFolder(search, node)) {
      const std::string path = prefix.empty() ? row.name : prefix + "/" + row.name;
      found[path] = row;
      if (row.folder) visit(row.node, path);
    }
  };
  visit(root, "");
  return found;
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
