#pragma once
// One recovered folder as the result tree shows it, and the ids every mode
// gives its folders.

#include <cstdint>
#include <limits>
#include <string>

namespace dravel::results {

// Index of a node of the result tree; nodes are never removed until the
// whole result is cleared, so an id stays valid for the result's lifetime.
using NodeId = std::uint32_t;
inline constexpr NodeId kNoNode = std::numeric_limits<NodeId>::max();

inline constexpr std::uint32_t kOrphanFolderId = 0x0FFFFFFF;
inline constexpr const char* kOrphanFolderName = "ORV_Miscellaneous";
inline constexpr const char* kRootName = "Root";
inline constexpr std::uint32_t kFatRootId = 0;
inline constexpr std::uint32_t kNtfsRootId = 5;

// Tree images: 0 for Root, 1 for a folder.
inline constexpr int kRootImage = 0;
inline constexpr int kFolderImage = 1;

struct FolderRecord {
  std::string name;
  NodeId treeItem = kNoNode;
  std::uint32_t selfId = 0;
  std::uint32_t parentId = 0;
  std::uint64_t date = 0;  // FAT date word, or NTFS creation time (100 ns since 1601, UTC)
  std::uint64_t time = 0;  // FAT time word; 0 on NTFS
  bool expanded = false;
  bool deleted = false;    // never cleared once set
  std::uint64_t cluster0Start = 0;
};

}  // namespace dravel::results
