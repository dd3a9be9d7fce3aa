#include "NtfsSearch.h"

#include "NtfsContent.h"
#include "ondisk/DataRuns.h"
#include "partitions/PartitionParameters.h"
#include "signature/FileTypes.h"

namespace dravel::basic {

using results::NodeId;

std::unique_ptr<BasicSearch> makeNtfsSearch(const ScanInput& input, SourceFactory sources) {
  return std::make_unique<NtfsSearch>(input, std::move(sources));
}

ScanOutcome NtfsSearch::scanAndBuild(ScanControl& control, ScanProgress& progress) {
  m_tree.clear();
  m_files.clear();
  m_folders.clear();
  m_partition = {};
  m_mft = {};
  m_orphanNode.reset();
  m_lastInserted.reset();
  m_root = m_tree.ensureRoot();

  ScanOutcome outcome;
  // A device that does not open finds nothing: the tree keeps Root alone.
  if (auto source = openSource()) {
    const partitions::PartitionRange range{input().firstSector, input().endSector};
    if (auto params = partitions::calculatePartitionParameters(*source, "NTFS", range)) {
      m_partition = *params;
      readMftExtents(*source);
    }
    progress.stage(ScanStage::Scanning);
    outcome.stopped = !recordPass(*source, control, progress);
  }
  attachFolders(progress);
  return outcome;
}

void NtfsSearch::readMftExtents(storage::SectorSource& source) {
  // The mirror's copy of record 0 stands in when the MFT's own is gone.
  const std::uint64_t start = m_partition.mftStart != 0 ? m_partition.mftStart : m_partition.mftMirrorStart;
  if (start == 0) return;
  auto record = readRecordAt(source, start);
  if (!record || !prepareRecord(*record)) return;
  for (const auto& attr : ondisk::recordAttributes(ByteView(*record))) {
    if (attr.type != ondisk::kAttrData || !attr.nonResident || attr.nameLength != 0) continue;
    const ondisk::VolumeBounds volume{m_partition.cluster0Start, m_partition.spc, input().endSector};
    m_mft = ondisk::MftLayout(ondisk::mftExtents(ondisk::attributeDataRuns(attr.whole), volume));
    return;
  }
}

void NtfsSearch::attachFolders(ScanProgress& progress) {
  progress.stage(ScanStage::SearchingLost);
  m_folders.sortBySelf();
  m_folders.markOrphans(results::kNtfsRootId, m_tree);
  // Before the sort by parent, so that the binary searches below still hold.
  for (auto& row : m_folders.rows()) {
    const bool orphanRow = row.self == results::kOrphanFolderId && row.parent != results::kOrphanFolderId;
    if (orphanRow) row.parent = results::kNtfsRootId;
  }
  m_folders.sortByParent();

  progress.stage(ScanStage::Storing);
  m_folders.attachChildren(results::kNtfsRootId, m_root, m_tree);
  m_folders.attachAll(m_tree);
  // Rows are only ever deferred after the orphan folder went in.
  if (m_orphanNode) m_folders.placeOrphans(m_tree, *m_orphanNode);
  m_tree.setText(m_root, results::kRootName);
  m_tree.setImage(m_root, results::kRootImage);
  m_tree.sortChildren(m_root);
}

results::Timestamp NtfsSearch::folderTime(const results::FolderRecord& record) const {
  return results::fromFileTime(record.date);
}

namespace {

results::ContentRow fileRow(const results::NtfsFileRow& file) {
  results::ContentRow row;
  row.name = file.name;
  row.type = signature::fileTypeDescription(signature::extensionOf(file.name), file.name);
  row.size = file.size.value_or(0);
  row.when = results::fromFileTime(file.creationTime);
  row.deleted = !file.inUse;
  row.id = file.recordNumber;
  row.debugSelf = file.sector;
  row.debugParent = file.parent;
  row.debugTreeItem = 0;
  return row;
}

}  // namespace

void NtfsSearch::listFiles(NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) {
  const auto* folder = m_tree.recordOf(node);
  const std::uint32_t id = folder != nullptr ? folder->selfId : results::kNtfsRootId;
  SourceLease source;
  bool opened = false;
  // Completing a row never adds one, so the index list stays valid.
  for (const std::size_t index : m_files.rowsOf(id)) {
    if (populationStop.load()) return;
    auto& file = m_files.row(index);
    if (file.name.empty() || !file.size) {
      if (!opened) {
        source = openSource();
        opened = true;
      }
      if (!completeRow(file, source.get())) continue;
    }
    sink.row(fileRow(file));
  }
}

bool NtfsSearch::completeRow(results::NtfsFileRow& row, storage::SectorSource* source) {
  if (source == nullptr) return false;
  // Through the extents when they agree with the row, so that a record split
  // between two extents is read whole; a row they do not know (a loaded log)
  // is read at its sector.
  auto record = m_mft.recordSector(row.recordNumber) == row.sector ? readRecordByIndex(*source, m_mft, row.recordNumber)
                                                                   : readRecordAt(*source, row.sector);
  if (!record) return false;
  (void)ondisk::restoreUpdateSequence(*record);
  const auto attributes = ondisk::recordAttributes(ByteView(*record));
  const RecordContext context{attributes, row.recordNumber, *source, m_mft};
  if (row.name.empty()) {
    if (const auto name = findRecordName(context)) {
      row.name = name->name;
      row.creationTime = name->creationTime;
    }
  }
  row.size = findDataSize(context);
  return true;
}

results::WriteResult NtfsSearch::writeFile(const results::ContentRow& row, results::ContentOutput& out,
                                           const results::WriteControl& control) {
  if (row.folder || m_partition.spc == 0) return {results::WriteStatus::NoContent, 0, 0, 0};
  // One reader for the whole file: its records and its clusters.
  const auto source = openSource();
  if (!source) return {results::WriteStatus::NoContent, 0, 0, 0};
  const NtfsVolumeBounds volume{m_partition.cluster0Start, m_partition.spc, input().endSector};
  return writeNtfsFile(*source, m_mft, volume, row, out, control);
}

}  // namespace dravel::basic
