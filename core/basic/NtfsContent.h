#pragma once
// The content of an NTFS file: its record's unnamed data stream, resident
// or spread over clusters by its data runs, copied and cut at the file's
// size.

#include "NtfsRecords.h"
#include "results/ContentRow.h"
#include "results/RecoveredResult.h"

namespace dravel::basic {

struct NtfsVolumeBounds {
  std::uint64_t cluster0Start = 0;  // the volume's first sector: cluster c begins at cluster0Start + c × spc
  std::uint32_t spc = 0;
  std::uint64_t endSector = 0;      // one past the volume's last sector
};

// Writes the content a file row names (record sector in `debugSelf`,
// record number in `id`, size in `size`). NoContent when the record cannot
// be read or is no file record, or a resident value does not fit its
// attribute; an empty output when the record has no unnamed data stream.
[[nodiscard]] results::WriteResult writeNtfsFile(storage::SectorSource& source, const ondisk::MftLayout& mft,
                                                 const NtfsVolumeBounds& volume, const results::ContentRow& row,
                                                 results::ContentOutput& out, const results::WriteControl& control);

}  // namespace dravel::basic
