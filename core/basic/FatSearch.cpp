#include "FatSearch.h"

#include "FatContent.h"
#include "FatDirectoryReader.h"
#include "FatDirectoryScan.h"
#include "FatParameterSearch.h"
#include "common/Text.h"
#include "partitions/PartitionParameters.h"
#include "results/FolderTable.h"
#include "signature/FileTypes.h"

namespace dravel::basic {

using results::FolderRecord;
using results::NodeId;

namespace {

// The tree building reads on after a Stop: the stop ends the scan, not the
// naming of what it found.
const std::atomic<bool> kNeverStop{false};

// Provisional names from the scan contain this; such folders are expanded
// once while the tree is built, so their children get names too.
constexpr const char* kProvisionalNameMark = "DIR";

}  // namespace

FatSearch::FatSearch(ScanInput input, SourceFactory sources) : BasicSearch(std::move(input), std::move(sources)) {}

std::unique_ptr<BasicSearch> makeFatSearch(const ScanInput& input, SourceFactory sources) {
  return std::make_unique<FatSearch>(input, std::move(sources));
}

ScanOutcome FatSearch::scanAndBuild(ScanControl& control, ScanProgress& progress) {
  ScanOutcome outcome;
  m_tree.clear();
  m_volume.reset();
  // A device that does not open finds nothing, and says nothing.
  const auto source = openSource();
  if (!source) return outcome;
  const auto record = findParameters(*source, control, progress, outcome);
  if (!record) return outcome;
  m_volume = fat::FatVolume{*record, input().fileSystemName == "FAT32", input().firstSector, input().endSector};
  results::FolderTable table;
  outcome.stopped = fat::scanDirectoryClusters(*source, *m_volume, control, progress, table);
  buildTree(*source, table, progress);
  return outcome;
}

std::optional<partitions::PartitionRecord> FatSearch::findParameters(storage::SectorSource& source,
                                                                     ScanControl& control, ScanProgress& progress,
                                                                     ScanOutcome& outcome) {
  const partitions::PartitionRange range{input().firstSector, input().endSector};
  auto computed = partitions::calculatePartitionParameters(source, input().fileSystemName, range);
  if (computed) return *computed;
  const bool fat32 = input().fileSystemName == "FAT32";
  auto found = fat::searchPartitionParameters(source, fat32, range, control, progress);
  if (found.stopped) {
    outcome.stopped = true;
  } else if (!found.record) {
    outcome.message = kParamsNotFoundMessage;
  }
  return found.record;
}

void FatSearch::buildTree(storage::SectorSource& source, results::FolderTable& table, ScanProgress& progress) {
  progress.stage(ScanStage::SearchingLost);
  m_tree.clear();
  table.sortBySelf();
  table.markOrphans(rootId(), m_tree);
  table.sortByParent();
  nameRootLevelRows(source, table);
  progress.stage(ScanStage::Storing);
  insertFolders(table);
  expandFolders(source, progress);
  m_tree.sortChildren(results::kNoNode);
}

// The root directory names the rows that hang under it before they go into
// the tree. Its end markers end only their sector here.
void FatSearch::nameRootLevelRows(storage::SectorSource& source, results::FolderTable& table) {
  const auto sectors = fat::directorySectors(*m_volume, source, rootId(), kNeverStop);
  const auto names = fat::subfolderNames(source, sectors, m_volume->fat32, fat::EndMarkerRule::EndsSector, kNeverStop);
  for (auto& row : table.rows()) {
    if (row.parent != results::kFatRootId) break;  // sorted by parent: the root's rows come first
    if (row.self == results::kOrphanFolderId) continue;
    const auto it = names.find(row.self);
    if (it == names.end()) continue;
    row.name = it->second.name;
    if (it->second.deleted) row.deleted = true;
  }
}

void FatSearch::insertFolders(results::FolderTable& table) {
  const NodeId root = table.insertFatTree(m_tree);
  m_tree.setText(root, results::kRootName);
  m_tree.setImage(root, results::kRootImage);
}

// Every folder with child folders, or still under a provisional name, is
// expanded once: its directory names its children.
void FatSearch::expandFolders(storage::SectorSource& source, ScanProgress& progress) {
  const std::size_t count = m_tree.folders().size();
  progress.total(count, 0, count);
  for (std::size_t i = 0; i < count; ++i) {
    progress.position(i, i);
    const FolderRecord& record = m_tree.folders()[i];
    const NodeId node = record.treeItem;
    const bool orphan = record.selfId == results::kOrphanFolderId;
    if (record.expanded) continue;
    if (m_tree.node(node).children.empty() && !containsText(record.name, kProvisionalNameMark)) continue;
    m_tree.markExpanded(node);
    if (!orphan) nameChildrenFrom(source, node, kNeverStop, nullptr);
  }
}

void FatSearch::nameChildren(NodeId node, const std::atomic<bool>& populationStop, ListingSink* sink) {
  if (!m_volume) return;
  const auto source = openSource();
  if (!source) return;
  nameChildrenFrom(*source, node, populationStop, sink);
}

void FatSearch::nameChildrenFrom(storage::SectorSource& source, NodeId node,
                                 const std::atomic<bool>& populationStop, ListingSink* sink) {
  const FolderRecord* folder = m_tree.recordOf(node);
  if (folder != nullptr && folder->selfId == results::kOrphanFolderId) return;
  const std::uint32_t listedId = folder != nullptr ? folder->selfId : rootId();
  const auto sectors = fat::directorySectors(*m_volume, source, listedId, populationStop);
  auto names =
      fat::subfolderNames(source, sectors, m_volume->fat32, fat::EndMarkerRule::EndsDirectory, populationStop);
  for (const NodeId child : m_tree.node(node).children) {
    if (names.empty()) break;
    const FolderRecord* record = m_tree.recordOf(child);
    if (record == nullptr || record->parentId != listedId || record->selfId == results::kOrphanFolderId) continue;
    const auto it = names.find(record->selfId);
    if (it == names.end()) continue;
    m_tree.resolveName(child, it->second.name, it->second.deleted);
    names.erase(it);  // an entry renames the first matching child only
    if (sink != nullptr) sink->folderChanged(child, m_tree.node(child).text, m_tree.recordOf(child)->deleted);
  }
}

void FatSearch::listFiles(NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) {
  if (!m_volume) return;
  const FolderRecord* folder = m_tree.recordOf(node);
  if (folder != nullptr && folder->selfId == results::kOrphanFolderId) return;
  const auto source = openSource();
  if (!source) return;
  const std::uint32_t folderId = folder != nullptr ? folder->selfId : rootId();
  const auto sectors = fat::directorySectors(*m_volume, *source, folderId, populationStop);
  // The FAT16 root area is listed to its end: an end marker ends only its sector.
  const auto rule = folderId == rootId() && !m_volume->fat32 ? fat::EndMarkerRule::EndsSector
                                                              : fat::EndMarkerRule::EndsDirectory;
  fat::readDirectoryEntries(*source, sectors, m_volume->fat32, rule, populationStop,
                            [&sink](const fat::DirectoryEntry& entry, const std::string& name) {
                              if (entry.kind != fat::EntryKind::File) return;
                              results::ContentRow row;
                              row.name = name;
                              row.type = signature::fileTypeDescription(signature::extensionOf(name), name);
                              row.size = entry.size;
                              row.when = results::fromFatDateTime(entry.date, entry.time);
                              row.deleted = entry.deleted;
                              row.id = entry.firstCluster;
                              row.debugSelf = entry.firstCluster;
                              row.shortName = entry.shortName.text;
                              sink.row(row);
                            });
}

results::Timestamp FatSearch::folderTime(const FolderRecord& record) const {
  return results::fromFatDateTime(static_cast<std::uint16_t>(record.date), static_cast<std::uint16_t>(record.time));
}

results::WriteResult FatSearch::writeFile(const results::ContentRow& row, results::ContentOutput& out,
                                          const results::WriteControl& control) {
  if (!m_volume || row.folder) return {results::WriteStatus::NoContent, 0, 0, 0};
  // One reader for the whole file: its chain and its clusters.
  const auto source = openSource();
  if (!source) return {results::WriteStatus::NoContent, 0, 0, 0};
  return fat::writeFatFile(*m_volume, *source, row, out, control);
}

}  // namespace dravel::basic
