#pragma once
// The directory cluster scan: reads the data area of a FAT volume in large
// blocks and keeps every cluster whose first sector begins with a "." entry
// naming that very cluster and a ".." entry. Each is a folder whose own and
// parent clusters are known, whether or not any directory still names it.

#include "FatVolume.h"
#include "ScanControl.h"
#include "results/FolderTable.h"
#include "storage/SectorSource.h"

namespace dravel::basic::fat {

// Sectors per read: 256 KiB, so the whole partition goes at the speed of
// sequential reads.
inline constexpr std::uint32_t kScanBlockSectors = 512;

// Adds the orphan folder as row 0, then one row per directory cluster, named
// "DIR" and the row number. A block that cannot be read is passed over; the
// clusters after it keep their numbers. Polls the stop after every block and
// returns true when it ended the scan (the rows found so far stay).
bool scanDirectoryClusters(storage::SectorSource& source, const FatVolume& volume, ScanControl& control,
                           ScanProgress& progress, results::FolderTable& table);

}  // namespace dravel::basic::fat
