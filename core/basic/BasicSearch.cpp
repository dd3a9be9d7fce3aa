#include "BasicSearch.h"

#include <algorithm>

#include "FatSearch.h"
#include "NtfsSearch.h"

namespace dravel::basic {

using results::ContentRow;
using results::FolderRecord;
using results::NodeId;

namespace {

class DeletedFolderSink final : public ListingSink {
 public:
  explicit DeletedFolderSink(ListingSink& next) : m_next(next) {}
  void folderChanged(NodeId node, const std::string& name, bool deleted) override {
    m_next.folderChanged(node, name, deleted);
  }
  void row(const ContentRow& row) override {
    ContentRow marked = row;
    marked.deleted = true;
    m_next.row(marked);
  }

 private:
  ListingSink& m_next;
};

}  // namespace

SourceFactory deviceSourceFactory(const std::string& devicePath) {
  return [devicePath]() -> std::unique_ptr<storage::SectorSource> {
    auto source = storage::OpenDeviceSource::open(devicePath);
    if (!source) return nullptr;
    return std::make_unique<storage::OpenDeviceSource>(std::move(*source));
  };
}

std::unique_ptr<BasicSearch> BasicSearch::create(const ScanInput& input, SourceFactory sources) {
  if (!sources) sources = deviceSourceFactory(input.devicePath);
  if (input.fileSystemName == "FAT16" || input.fileSystemName == "FAT32") return makeFatSearch(input, std::move(sources));
  if (input.fileSystemName == "NTFS") return makeNtfsSearch(input, std::move(sources));
  return nullptr;
}

ScanOutcome BasicSearch::run(ScanControl& control, ScanProgress& progress) {
  const std::lock_guard lock(m_mutex);
  m_tree.setInsertObserver([this, &progress](NodeId id) {
    const auto& node = m_tree.node(id);
    progress.folderInserted(id, node.parent, node.text);
  });
  progress.stage(ScanStage::Validating);
  ScanOutcome outcome = scanAndBuild(control, progress);
  m_tree.setInsertObserver({});
  outcome.nothingFound = nothingFound();
  return outcome;
}

bool BasicSearch::nothingFound() const {
  const NodeId root = m_tree.firstItem();
  if (root == results::kNoNode) return true;
  for (const NodeId child : m_tree.node(root).children) {
    const auto* record = m_tree.recordOf(child);
    const bool emptyOrphan = record != nullptr && record->selfId == results::kOrphanFolderId &&
                             m_tree.node(child).children.empty();
    if (!emptyOrphan) return false;
  }
  return true;
}

void BasicSearch::expand(NodeId node, const std::atomic<bool>& populationStop, ListingSink* sink) {
  const std::lock_guard lock(m_mutex);
  auto* record = m_tree.recordOf(node);
  if (record == nullptr || record->expanded) return;  // Root resolves nothing
  record->expanded = true;
  if (record->selfId == results::kOrphanFolderId) return;
  nameChildren(node, populationStop, sink);
}

bool BasicSearch::list(NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) {
  const std::lock_guard lock(m_mutex);
  if (node >= m_tree.nodeCount()) return true;
  const auto* record = m_tree.recordOf(node);
  const bool orphan = record != nullptr && record->selfId == results::kOrphanFolderId;
  if (!orphan && !m_tree.node(node).children.empty()) nameChildren(node, populationStop, &sink);
  listSubfolders(node, populationStop, sink);
  if (populationStop.load()) return false;
  if (record != nullptr && record->deleted) {
    // A file inside a deleted folder is as deleted as the folder, whatever
    // its own entry says.
    DeletedFolderSink marking(sink);
    listFiles(node, populationStop, marking);
  } else {
    listFiles(node, populationStop, sink);
  }
  return !populationStop.load();
}

void BasicSearch::listSubfolders(NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) {
  const auto* folder = m_tree.recordOf(node);
  const std::uint32_t folderId = folder != nullptr ? folder->selfId : rootId();
  const bool folderDeleted = folder != nullptr && folder->deleted;
  // The folder list's order: children whose record names this folder as parent.
  std::vector<NodeId> children;
  for (const NodeId child : m_tree.node(node).children) {
    const auto* record = m_tree.recordOf(child);
    if (record != nullptr && record->parentId == folderId) children.push_back(child);
  }
  std::sort(children.begin(), children.end(),
            [this](NodeId a, NodeId b) { return *m_tree.node(a).record < *m_tree.node(b).record; });
  for (const NodeId child : children) {
    if (populationStop.load()) return;
    if (folderDeleted && !m_tree.recordOf(child)->deleted) {
      m_tree.markDeleted(child);
      sink.folderChanged(child, m_tree.node(child).text, true);
    }
    const FolderRecord& record = *m_tree.recordOf(child);
    ContentRow row;
    row.folder = true;
    row.name = record.name;
    row.type = "FOLDER";
    row.when = folderTime(record);
    row.orphanFolder = record.selfId == results::kOrphanFolderId;
    row.deleted = record.deleted;
    row.id = record.selfId;
    row.debugSelf = record.selfId;
    row.debugParent = record.parentId;
    row.debugTreeItem = child;
    row.node = child;
    sink.row(row);
  }
}

void BasicSearch::readTree(const std::function<void(const results::ResultTree&)>& reader) const {
  const std::lock_guard lock(m_mutex);
  reader(m_tree);
}

}  // namespace dravel::basic
