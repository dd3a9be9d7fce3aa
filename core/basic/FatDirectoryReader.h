#pragma once
// Reads a FAT directory sector by sector and hands out its entries with
// their display names; and, from the same reading, the names a directory
// gives its subfolders.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "FatDirectoryEntry.h"
#include "storage/SectorSource.h"

namespace dravel::basic::fat {

enum class EndMarkerRule {
  EndsSector,     // the FAT16 root area when listing: later sectors are still read
  EndsDirectory,  // everywhere else
};

using EntryVisitor = std::function<void(const DirectoryEntry& entry, const std::string& name)>;

// Hands every subfolder and file entry whose name passes the name check to
// `visit` ("." / ".." and long-name pieces are not handed out); the Latin-1
// rule of the check applies to entries without a long name only. Reading
// ends at an unreadable sector (what was read stands), at an end marker as
// `rule` says, or when the population stop is raised (checked per entry).
// False when the population stop ended it.
bool readDirectoryEntries(storage::SectorSource& source, const std::vector<std::uint64_t>& sectors, bool fat32,
                          EndMarkerRule rule, const std::atomic<bool>& populationStop, const EntryVisitor& visit);

struct FolderName {
  std::string name;
  bool deleted = false;
};

// The names the directory's subfolder entries give, by first cluster. A
// live entry wins over a deleted one naming the same cluster: a deleted
// folder's cluster is free to be reused by a folder made later. Otherwise a
// later entry replaces an earlier one. File entries name no folders.
[[nodiscard]] std::unordered_map<std::uint32_t, FolderName> subfolderNames(
    storage::SectorSource& source, const std::vector<std::uint64_t>& sectors, bool fat32, EndMarkerRule rule,
    const std::atomic<bool>& populationStop);

}  // namespace dravel::basic::fat
