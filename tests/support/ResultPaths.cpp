#include "ResultPaths.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace dravel::test {

namespace {

class Collect final : public basic::ListingSink {
 public:
  void row(const results::ContentRow& row) override { rows.push_back(row); }
  std::vector<results::ContentRow> rows;
};

std::string join(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : "/") + name;
  return out;
}

}  // namespace

ResultPaths allShown(basic::BasicSearch& search) {
  std::vector<std::pair<results::NodeId, std::string>> folders;
  search.readTree([&folders](const results::ResultTree& tree) {
    for (const auto node : tree.preorder()) folders.emplace_back(node, join(tree.pathOf(node)));
  });
  ResultPaths out;
  const std::atomic<bool> noStop{false};
  for (const auto& [node, path] : folders) {
    Collect listing;
    (void)search.list(node, noStop, listing);
    for (const auto& row : listing.rows) out.emplace(path.empty() ? row.name : path + "/" + row.name, row);
  }
  return out;
}

const results::ContentRow* rowAt(const ResultPaths& paths, const std::string& path) {
  if (paths.count(path) != 1) {
    ADD_FAILURE() << path << " is shown " << paths.count(path) << " times";
    return nullptr;
  }
  return &paths.find(path)->second;
}

}  // namespace dravel::test
