#pragma once
// Reads a Basic Search's result the way a window does (listing folder
// after folder) and gathers what it shows, by path below Root ("Docs/a.txt").

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "basic/BasicSearch.h"
#include "results/ContentRow.h"

namespace dravel::test {

class RowCollector final : public basic::ListingSink {
 public:
  void folderChanged(results::NodeId node, const std::string& name, bool deleted) override {
    changes.push_back({node, name, deleted});
  }
  void row(const results::ContentRow& row) override { rows.push_back(row); }

  struct Change {
    results::NodeId node;
    std::string name;
    bool deleted;
  };
  std::vector<results::ContentRow> rows;
  std::vector<Change> changes;
};

// A memory image handed out afresh to every reader.
[[nodiscard]] basic::SourceFactory memoryImage(std::vector<std::byte> bytes);

// The content rows of one folder.
[[nodiscard]] std::vector<results::ContentRow> listFolder(basic::BasicSearch& search, results::NodeId node);

// Every row reachable from Root by listing folder after folder, by path
// ("Documents/Reports 2023/Q1.TXT"), in the order a user would open them.
[[nodiscard]] std::map<std::string, results::ContentRow> listEverything(basic::BasicSearch& search);

// The same, keeping a path shown twice twice, so a duplicate is caught.
using ResultPaths = std::multimap<std::string, results::ContentRow>;
[[nodiscard]] ResultPaths allShown(basic::BasicSearch& search);

// The row at `path`; fails the test when there is none or more than one.
[[nodiscard]] const results::ContentRow* rowAt(const ResultPaths& paths, const std::string& path);

// The tree's texts by path, as the tree shows them (no listing involved).
[[nodiscard]] std::vector<std::string> treePaths(basic::BasicSearch& search);

}  // namespace dravel::test
