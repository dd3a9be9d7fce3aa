#include "FatDirectoryReader.h"

namespace dravel::basic::fat {

namespace {

enum class SectorEnd { Continue, DirectoryEnded, Stopped };

SectorEnd readSectorEntries(ByteView sector, bool fat32, EndMarkerRule rule, const PreviousSector& previous,
                            const std::atomic<bool>& populationStop, const EntryVisitor& visit) {
  for (std::size_t offset = 0; offset < kSectorSize; offset += kEntrySize) {
    if (populationStop.load()) return SectorEnd::Stopped;
    const auto entry = decodeEntry(*sector.sub(offset, kEntrySize), fat32);
    if (entry->kind == EntryKind::End) {
      return rule == EndMarkerRule::EndsDirectory ? SectorEnd::DirectoryEnded : SectorEnd::Continue;
    }
    if (entry->kind != EntryKind::Directory && entry->kind != EntryKind::File) continue;
    if (!entry->shortName.acceptedBesideLongName) continue;
    const std::string longName = longNameBefore(sector, offset, previous);
    if (longName.empty() && !entry->shortName.accepted) continue;
    visit(*entry, displayName(longName, entry->shortName));
  }
  return SectorEnd::Continue;
}

}  // namespace

bool readDirectoryEntries(storage::SectorSource& source, const std::vector<std::uint64_t>& sectors, bool fat32,
                          EndMarkerRule rule, const std::atomic<bool>& populationStop, const EntryVisitor& visit) {
  for (std::size_t i = 0; i < sectors.size(); ++i) {
    const auto buffer = storage::readSector(source, sectors[i]);
    if (!buffer) return true;
    // A long name that began in an earlier sector of this directory: the
    // directory's own earlier sectors, which after a cluster boundary are
    // not the sectors just before on the disk.
    const PreviousSector previous = [&](std::size_t stepsBack) -> std::optional<SectorBuffer> {
      if (stepsBack > i) return std::nullopt;
      return storage::readSector(source, sectors[i - stepsBack]);
    };
    switch (readSectorEntries(ByteView(*buffer), fat32, rule, previous, populationStop, visit)) {
      case SectorEnd::Continue: break;
      case SectorEnd::DirectoryEnded: return true;
      case SectorEnd::Stopped: return false;
    }
  }
  return true;
}

std::unordered_map<std::uint32_t, FolderName> subfolderNames(storage::SectorSource& source,
                                                             const std::vector<std::uint64_t>& sectors, bool fat32,
                                                             EndMarkerRule rule,
                                                             const std::atomic<bool>& populationStop) {
  std::unordered_map<std::uint32_t, FolderName> names;
  readDirectoryEntries(source, sectors, fat32, rule, populationStop,
                       [&names](const DirectoryEntry& entry, const std::string& name) {
                         if (entry.kind != EntryKind::Directory || name.empty()) return;
                         const auto [it, added] = names.try_emplace(entry.firstCluster, FolderName{name, entry.deleted});
                         if (!added && (it->second.deleted || !entry.deleted)) it->second = FolderName{name, entry.deleted};
                       });
  return names;
}

}  // namespace dravel::basic::fat
