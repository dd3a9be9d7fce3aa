#include "BasicListing.h"

#include <ostream>
#include <vector>

namespace dravel::cli {

namespace {

using results::ContentRow;
using results::NodeId;

class CollectingSink final : public basic::ListingSink {
 public:
  void row(const ContentRow& row) override { rows.push_back(row); }
  std::vector<ContentRow> rows;
};

void printRow(std::ostream& out, const ContentRow& row, const std::string& path) {
  const auto when = row.orphanFolder ? results::todayLocal() : row.when;
  out << (row.folder ? "dir" : "file") << '\t' << (row.deleted ? 1 : 0) << '\t' << row.size << '\t'
      << results::formatIsoDate(when) << '\t' << results::formatListTime(when) << '\t' << row.id << '\t' << path
      << '\n';
}

struct Pending {
  NodeId node;
  std::string path;  // escaped, "" for Root
};

}  // namespace

std::string escapeField(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

void printBasicResult(basic::BasicSearch& search, std::ostream& out) {
  NodeId root = results::kNoNode;
  search.readTree([&](const results::ResultTree& tree) { root = tree.firstItem(); });
  if (root == results::kNoNode) return;
  const std::atomic<bool> neverStop{false};
  // An explicit stack: a chain of nested folders on a hostile disk can be
  // deeper than the call stack.
  std::vector<Pending> pending{{root, ""}};
  while (!pending.empty()) {
    const Pending folder = std::move(pending.back());
    pending.pop_back();
    CollectingSink sink;
    (void)search.list(folder.node, neverStop, sink);
    std::vector<Pending> subfolders;
    for (const auto& row : sink.rows) {
      const std::string path = folder.path.empty() ? escapeField(row.name) : folder.path + "/" + escapeField(row.name);
      printRow(out, row, path);
      if (row.folder && row.node != results::kNoNode) subfolders.push_back({row.node, path});
    }
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
}

}  // namespace dravel::cli
