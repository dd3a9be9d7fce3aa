// The MFT record pass of the NTFS Basic Search.

#include <algorithm>
#include <limits>

#include "NtfsSearch.h"

namespace dravel::basic {

using results::NodeId;

bool NtfsSearch::recordPass(storage::SectorSource& source, ScanControl& control, ScanProgress& progress) {
  const std::uint64_t totalSectors = m_mft.totalSectors();
  const std::uint64_t records = m_mft.recordCount();
  progress.total(totalSectors, 0, totalSectors);
  std::uint64_t recordsRead = 0;
  // `index` counts record positions across the extents, read or not.
  for (std::uint64_t index = 0; index < records;) {
    if (control.stopRequested()) return false;
    const auto at = *m_mft.locate(index * 2);
    const auto& extent = m_mft.extents()[at.extent];
    if (!extent.readable) {
      // Nothing there to read: skip to the first record that begins past it.
      index = (m_mft.extentStart(at.extent + 1) + 1) / 2;
      progress.position(std::min(index * 2, totalSectors), recordsRead);
      continue;
    }
    const std::uint64_t sector = extent.firstSector + at.offset;
    if (auto record = readRecordByIndex(source, m_mft, index); record && prepareRecord(*record)) {
      takeRecord(index, sector, *record, source);
    }
    ++index;
    ++recordsRead;
    progress.position(index * 2, recordsRead);
    control.blockDone();
  }
  return true;
}

void NtfsSearch::takeRecord(std::uint64_t index, std::uint64_t sector, MftRecordBuffer& record,
                            storage::SectorSource& source) {
  const ByteView view(record);
  // An extension record holds part of another file's attributes; that
  // file's own record stands for it (and finds its names through it).
  if (ondisk::referenceRecord(view.u64le(ondisk::kBaseRecordOffset).value_or(0)) != 0) return;
  const std::uint16_t flags = view.u16le(ondisk::kRecordFlagsOffset).value_or(0);
  const auto attributes = ondisk::recordAttributes(view);
  const auto name = findRecordName(RecordContext{attributes, index, source, m_mft});
  if (!name) return;
  const bool inUse = (flags & ondisk::kRecordInUse) != 0;
  if (flags == ondisk::kRecordDirectory || flags == (ondisk::kRecordDirectory | ondisk::kRecordInUse)) {
    takeFolder(index, sector, *name, inUse);
    return;
  }
  results::NtfsFileRow row;
  row.parent = name->parent;
  row.sector = sector;
  row.recordNumber = index;
  row.name = name->name;
  row.creationTime = name->creationTime;
  row.inUse = inUse;
  m_files.add(std::move(row));
}

void NtfsSearch::takeFolder(std::uint64_t index, std::uint64_t sector, const ondisk::FileName& name, bool inUse) {
  if (name.name == ".") return;  // the root itself
  // Folder ids are 32 bits; no MFT on a medium this tool reads comes near.
  if (index > std::numeric_limits<std::uint32_t>::max()) return;
  if (!m_orphanNode) {
    results::FolderInsert orphan;
    orphan.parent = m_root;
    orphan.name = results::kOrphanFolderName;
    orphan.selfId = results::kOrphanFolderId;
    orphan.time = results::currentFatTimeWord();
    orphan.parentId = results::kNtfsRootId;
    m_orphanNode = m_tree.insertFolder(orphan);
    m_lastInserted = m_orphanNode;
  }
  const auto self = static_cast<std::uint32_t>(index);
  if (const auto parent = parentNode(name.parent)) {
    results::FolderInsert folder;
    folder.parent = *parent;
    folder.name = name.name;
    folder.selfId = self;
    folder.date = name.creationTime;
    folder.parentId = name.parent;
    folder.deleted = !inUse;
    m_lastInserted = m_tree.insertFolder(folder);
    return;
  }
  results::FolderRow row;
  row.name = name.name;
  row.sector = sector;
  row.self = self;
  row.parent = name.parent;
  row.date = name.creationTime;
  row.deleted = !inUse;
  m_folders.add(std::move(row));
}

std::optional<NodeId> NtfsSearch::parentNode(std::uint32_t parent) const {
  if (parent == results::kNtfsRootId) return m_root;
  // Folders mostly follow their parent in the MFT: the last one first.
  if (m_lastInserted) {
    const auto* last = m_tree.recordOf(*m_lastInserted);
    if (last != nullptr && last->selfId == parent) return *m_lastInserted;
  }
  if (const auto* record = m_tree.findFolderById(parent, results::kNtfsRootId)) return record->treeItem;
  return std::nullopt;
}

}  // namespace dravel::basic
