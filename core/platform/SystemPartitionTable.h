#pragma once
// A disk's partition table as the operating system reads it: the view that
// decides which volumes exist, where they lie and whether the disk is dynamic.
// (The recovery tree has its own walk with its own rules; this one follows the
// tables the way a kernel does, with limits on every chain.)

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "ondisk/PartitionTableLayout.h"
#include "ondisk/Sector.h"

namespace dravel::platform {

// Reads 512-byte sector `lba` of the disk; false when it cannot be read.
using SectorReadFn = std::function<bool(std::uint64_t lba, SectorBuffer& out)>;

struct SystemPartition {
  int number = 0;                 // 1..4 primary, 5.. logical, GPT entry index + 1; 0 for a whole-disk volume
  std::uint64_t firstSector = 0;  // on the disk
  std::uint64_t sectorCount = 0;
  std::uint8_t mbrType = 0;       // 0 on GPT
  std::optional<ondisk::Guid> gptType;
  bool isContainer = false;       // an extended partition: holds others, is no volume
};

struct SystemPartitionTable {
  enum class Style { None, Mbr, Gpt, WholeDiskVolume };
  Style style = Style::None;
  std::vector<SystemPartition> partitions;
  // A Logical Disk Manager partition is present (MBR type 0x42 or the GPT LDM data type).
  bool dynamic = false;
};

inline constexpr int kMaxExtendedHops = 128;
inline constexpr std::uint32_t kMaxGptEntries = 256;

[[nodiscard]] SystemPartitionTable readSystemPartitionTable(const SectorReadFn& read, std::uint64_t diskSectors);

// Whether a partition of this type would be given a drive letter: everything
// but empty entries, extended containers, the GPT protective entry, the
// Microsoft reserved partition and Logical Disk Manager partitions.
[[nodiscard]] bool isVolumeCandidate(const SystemPartition& partition);

// A FAT, exFAT or NTFS boot sector at sector 0 of the disk: a medium
// formatted without a partition table.
[[nodiscard]] bool looksLikeVolumeBootSector(ByteView sector);

}  // namespace dravel::platform
