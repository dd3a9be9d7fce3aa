// What a save will write: the selection walked into folders and files, each
// with its path below the destination.

#include <unordered_map>
#include <unordered_set>

#include "SaveJob.h"

namespace dravel::results {

namespace {

// UTF-8 names longer than this do not fit a Linux file name; the longest
// NTFS name (255 UTF-16 units) can take three times as much.
constexpr std::size_t kMaxComponentBytes = 255;

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 sequence.
std::string cutUtf8(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return std::string(text);
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

class CollectRows final : public ListingSink {
 public:
  void row(const ContentRow& row) override { rows.push_back(row); }
  std::vector<ContentRow> rows;
};

std::string joinPath(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

class Planner {
 public:
  Planner(RecoveredResult& result, const std::atomic<bool>& stop, CountProgress& progress)
      : m_result(result), m_stop(stop), m_progress(progress) {}

  SavePlan plan(const SaveRequest& request) {
    for (const NodeId node : request.wholeFolders) {
      const auto path = pathOf(node);
      if (!path) continue;
      addFolderPath(*path);
      walkWhole(node, *path);
    }
    if (!request.rows.empty()) planRows(request);
    m_plan.stopped = m_stopped;
    return std::move(m_plan);
  }

 private:
  void planRows(const SaveRequest& request) {
    const auto folder = pathOf(request.rowsFolder);
    if (!folder) return;
    addFolderPath(*folder);
    for (const ContentRow& row : request.rows) {
      if (m_stopped) return;
      const std::string path = joinPath(*folder, safeComponent(row.name));
      if (!row.folder) {
        addFile(path, row);
      } else if (row.node != kNoNode) {
        addFolderPath(path);
        walkWhole(row.node, path);
      }
    }
  }

  // The rows of a folder, listed once; child folder names are noted.
  const std::vector<ContentRow>* rowsOf(NodeId node) {
    if (const auto it = m_listings.find(node); it != m_listings.end()) return &it->second;
    if (m_stopped || m_stop.load()) {
      m_stopped = true;
      return nullptr;
    }
    CollectRows sink;
    if (!m_result.list(node, m_stop, sink) && m_stop.load()) {
      m_stopped = true;
      return nullptr;
    }
    for (const ContentRow& row : sink.rows) {
      if (row.folder && row.node != kNoNode) m_names[row.node] = row.name;
    }
    return &(m_listings[node] = std::move(sink.rows));
  }

  // The node's path below Root: each folder above it is listed first, since
  // a folder's name is final only once its parent has been listed.
  std::optional<std::string> pathOf(NodeId node) {
    std::vector<NodeId> chain;  // node first, Root last
    bool known = false;
    m_result.readTree([&](const ResultTree& tree) {
      if (node == kNoNode || node >= tree.nodeCount()) return;
      // The tree never holds a cycle; the bound keeps a damaged one finite.
      for (NodeId at = node; at != kNoNode && chain.size() <= tree.nodeCount(); at = tree.node(at).parent) {
        chain.push_back(at);
      }
      known = chain.back() == tree.firstItem();
      for (const NodeId at : chain) m_treeTexts[at] = tree.node(at).text;
    });
    if (!known) return std::nullopt;
    std::string path;
    for (std::size_t i = chain.size() - 1; i-- > 0;) {
      if (!rowsOf(chain[i + 1])) return std::nullopt;
      const auto named = m_names.find(chain[i]);
      path = joinPath(path, safeComponent(named != m_names.end() ? named->second : m_treeTexts[chain[i]]));
    }
    return path;
  }

  // The folder and every folder above it, each once, parents first.
  void addFolderPath(const std::string& path) {
    if (path.empty() || m_folderPaths.contains(path)) return;
    const auto slash = path.rfind('/');
    if (slash != std::string::npos) addFolderPath(path.substr(0, slash));
    m_folderPaths.insert(path);
    m_plan.folders.push_back(path);
    m_progress.counted(m_plan.files.size(), m_plan.folders.size());
  }

  void addFile(const std::string& path, const ContentRow& row) {
    m_plan.files.push_back({path, row});
    m_progress.counted(m_plan.files.size(), m_plan.folders.size());
  }

  // A folder with its files and every folder below it; a folder already
  // walked (selected twice, or inside another selected one) adds nothing.
  void walkWhole(NodeId top, const std::string& topPath) {
    // An explicit stack: a damaged tree can nest deeper than the call stack.
    std::vector<std::pair<NodeId, std::string>> pending{{top, topPath}};
    while (!pending.empty() && !m_stopped) {
      auto [node, path] = std::move(pending.back());
      pending.pop_back();
      if (!m_walked.insert(node).second) continue;
      if (rowsOf(node) == nullptr) return;
      const std::vector<ContentRow> listing = std::move(m_listings[node]);
      std::vector<std::pair<NodeId, std::string>> subfolders;
      for (const ContentRow& row : listing) {
        const std::string rowPath = joinPath(path, safeComponent(row.name));
        if (!row.folder) {
          addFile(rowPath, row);
        } else if (row.node != kNoNode) {
          addFolderPath(rowPath);
          subfolders.emplace_back(row.node, rowPath);
        }
      }
      // Walked in listing order.
      pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
  }

  RecoveredResult& m_result;
  const std::atomic<bool>& m_stop;
  CountProgress& m_progress;
  SavePlan m_plan;
  bool m_stopped = false;
  std::unordered_map<NodeId, std::vector<ContentRow>> m_listings;
  std::unordered_map<NodeId, std::string> m_names;      // a folder's name in its parent's listing
  std::unordered_map<NodeId, std::string> m_treeTexts;  // its text in the tree, where no listing named it
  std::unordered_set<NodeId> m_walked;
  std::unordered_set<std::string> m_folderPaths;
};

}  // namespace

std::string safeComponent(std::string_view name) {
  if (name.empty() || name == ".") return "_";
  if (name == "..") return "__";
  std::string out;
  out.reserve(name.size());
  for (const char c : name) out += (c == '/' || isControl(static_cast<unsigned char>(c))) ? '_' : c;
  if (out.size() <= kMaxComponentBytes) return out;
  // Too long: the extension stays, the stem is cut.
  const auto dot = out.rfind('.');
  const std::string extension = dot != std::string::npos && out.size() - dot <= 16 ? out.substr(dot) : "";
  return cutUtf8(out.substr(0, out.size() - extension.size()), kMaxComponentBytes - extension.size()) + extension;
}

SavePlan planSave(RecoveredResult& result, const SaveRequest& request, const std::atomic<bool>& stop,
                  CountProgress& progress) {
  return Planner(result, stop, progress).plan(request);
}

}  // namespace dravel::results
