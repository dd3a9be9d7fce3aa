#pragma once
// Recognising the file system of a partition from its first sector, and the
// file-system names the rest of the system compares.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/ByteView.h"

namespace dravel::partitions {

enum class BootMark { None, Fat32, Fat16, Ntfs, GptHeader };

// "FAT32" at 0x52, else "FAT16" at 0x36, else "NTFS" at 3, else "EFI" at 0,
// in that order.
[[nodiscard]] BootMark recogniseBootSector(ByteView sector);

// "FAT32", "FAT16", "NTFS"; empty for None and GptHeader.
[[nodiscard]] std::string bootMarkName(BootMark mark);

// Trimmed text containing "FAT16" or equal to "FAT" → "FAT16"; containing
// "FAT32" → "FAT32"; containing "NTFS" → "NTFS"; anything else "Unknown".
[[nodiscard]] std::string normaliseFileSystemName(std::string_view text);

// For a range without a recognisable boot sector: below 35 GiB "FAT32" (when
// at least 1 MiB, else "Unknown"), from 35 GiB on "NTFS". `end` is one past
// the last sector; an empty or inverted range is "Unknown".
[[nodiscard]] std::string guessFileSystemBySize(std::uint64_t firstSector, std::uint64_t endSector);

}  // namespace dravel::partitions
