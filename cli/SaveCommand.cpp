#include "SaveCommand.h"

#include <map>
#include <ostream>
#include <set>
#include <stdexcept>
#include <tuple>

#include "BasicListing.h"
#include "Cli.h"

namespace dravel::cli {

namespace {

using results::ContentRow;
using results::NodeId;

constexpr const char* kDestinationFullMessage =
    "Unable to continue saving recovered data.\n\nEither Destination Drive is inaccessible or there is no free "
    "space available in drive to save recovered data.";

class CollectingSink final : public basic::ListingSink {
 public:
  void row(const ContentRow& row) override { rows.push_back(row); }
  std::vector<ContentRow> rows;
};

struct Selection {
  std::vector<NodeId> wholeFolders;
  std::map<NodeId, std::vector<ContentRow>> filesByFolder;
};

class PathFinder {
 public:
  explicit PathFinder(basic::BasicSearch& search) : m_search(search) {
    search.readTree([this](const results::ResultTree& tree) { m_root = tree.firstItem(); });
  }

  [[nodiscard]] NodeId root() const { return m_root; }

  // Every row whose printed path is `path`. A folder is entered only when
  // its printed path begins the one looked for; names may hold "/", so
  // every such folder is tried.
  bool find(const std::string& path, Selection& out) {
    bool found = false;
    std::vector<std::pair<NodeId, std::string>> pending;
    if (m_root != results::kNoNode) pending.emplace_back(m_root, path);
    while (!pending.empty()) {
      const auto [node, rest] = pending.back();
      pending.pop_back();
      for (const ContentRow& row : rowsOf(node)) {
        const std::string name = escapeField(row.name);
        if (rest == name) {
          found = true;
          if (!row.folder) {
            out.filesByFolder[node].push_back(row);
          } else if (row.node != results::kNoNode) {
            out.wholeFolders.push_back(row.node);
          }
        } else if (row.folder && row.node != results::kNoNode && rest.size() > name.size() &&
                   rest.starts_with(name) && rest[name.size()] == '/') {
          pending.emplace_back(row.node, rest.substr(name.size() + 1));
        }
      }
    }
    return found;
  }

 private:
  const std::vector<ContentRow>& rowsOf(NodeId node) {
    auto it = m_listings.find(node);
    if (it != m_listings.end()) return it->second;
    CollectingSink sink;
    (void)m_search.list(node, m_neverStop, sink);
    return m_listings[node] = std::move(sink.rows);
  }

  basic::BasicSearch& m_search;
  NodeId m_root = results::kNoNode;
  const std::atomic<bool> m_neverStop{false};
  std::map<NodeId, std::vector<ContentRow>> m_listings;
};

// One plan from several requests: each folder once, each file once.
class PlanMerger {
 public:
  void add(results::SavePlan plan) {
    for (auto& folder : plan.folders) {
      if (m_folders.insert(folder).second) m_plan.folders.push_back(std::move(folder));
    }
    for (auto& file : plan.files) {
      if (m_files.emplace(file.relativePath, file.row.id, file.row.debugSelf).second) {
        m_plan.files.push_back(std::move(file));
      }
    }
  }
  [[nodiscard]] const results::SavePlan& plan() const { return m_plan; }

 private:
  results::SavePlan m_plan;
  std::set<std::string> m_folders;
  std::set<std::tuple<std::string, std::uint64_t, std::uint64_t>> m_files;
};

results::SavePlan planFor(basic::BasicSearch& search, const std::vector<std::string>& paths) {
  PathFinder finder(search);
  Selection selection;
  if (paths.empty()) {
    if (finder.root() != results::kNoNode) selection.wholeFolders.push_back(finder.root());
  }
  for (const auto& path : paths) {
    if (!finder.find(path, selection)) throw std::invalid_argument(path);
  }
  const std::atomic<bool> neverStop{false};
  results::CountProgress quiet;
  PlanMerger merger;
  if (!selection.wholeFolders.empty()) {
    merger.add(results::planSave(search, {selection.wholeFolders, results::kNoNode, {}}, neverStop, quiet));
  }
  for (const auto& [folder, rows] : selection.filesByFolder) {
    merger.add(results::planSave(search, {{}, folder, rows}, neverStop, quiet));
  }
  return merger.plan();
}

}  // namespace

std::optional<results::ExistsChoice> parseOnExists(const std::string& text) {
  if (text == "overwrite") return results::ExistsChoice::Overwrite;
  if (text == "skip") return results::ExistsChoice::Skip;
  if (text == "rename") return results::ExistsChoice::Rename;
  return std::nullopt;
}

int saveItems(basic::BasicSearch& search, const std::filesystem::path& destination,
              const std::vector<std::string>& paths, results::ExistsChoice onExists, std::ostream& out,
              std::ostream& err) {
  const results::SavePlan plan = planFor(search, paths);
  results::SaveControl control;
  control.ask = [onExists](const std::filesystem::path&, const std::filesystem::path&) {
    return results::ExistsAnswer{onExists, true, {}};
  };
  results::SaveProgress quiet;
  const auto summary = results::runSave(search, plan, destination, control, quiet);
  out << "saved " << summary.filesWritten << " files in " << summary.foldersCreated << " folders, "
      << summary.bytesWritten << " bytes\n";
  for (const auto& note : summary.notes) err << "dravel-cli: note: " << note << '\n';
  for (const auto& failure : summary.failures) err << "dravel-cli: not saved: " << failure << '\n';
  if (summary.diskFull) err << "dravel-cli: " << kDestinationFullMessage << '\n';
  return summary.diskFull || !summary.failures.empty() ? kExitFailure : kExitOk;
}

}  // namespace dravel::cli
