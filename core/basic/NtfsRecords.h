#pragma once
// NTFS file records read from the device: one record at a sector or by its
// number through the MFT's extents, and what a listing needs from it (its
// name and data size), looked for in the record and in the extension
// records its attribute list names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ondisk/MftExtents.h"
#include "ondisk/MftFileName.h"
#include "ondisk/MftRecord.h"
#include "storage/SectorSource.h"

namespace dravel::basic {

using MftRecordBuffer = std::array<std::byte, ondisk::kMftRecordSize>;

// The record's bytes as read (not fixed up); empty when the read fails.
[[nodiscard]] std::optional<MftRecordBuffer> readRecordAt(storage::SectorSource& source, std::uint64_t sector);

// Record `index` through the extents; a record split between two extents is
// read in two parts. Empty when a part is past the MFT's end or in an
// unreadable extent, or a read fails.
[[nodiscard]] std::optional<MftRecordBuffer> readRecordByIndex(storage::SectorSource& source,
                                                               const ondisk::MftLayout& layout, std::uint64_t index);

// True for a "FILE" record, which is then fixed up.
bool prepareRecord(MftRecordBuffer& record);

// A record in hand and where to find the records its attribute list names.
struct RecordContext {
  const std::vector<ondisk::Attribute>& attributes;
  std::uint64_t index = 0;  // the record's own number
  storage::SectorSource& source;
  const ondisk::MftLayout& layout;
};

// The record's name by the name space order, looked for over the record and
// its extension records (each read once): a long name in an extension record
// wins over an 8.3 name in the record itself.
[[nodiscard]] std::optional<ondisk::FileName> findRecordName(const RecordContext& record);

// The unnamed data stream's size from the record or, failing that, its
// extension records; 0 when none holds it.
[[nodiscard]] std::uint64_t findDataSize(const RecordContext& record);

// One part of a non-resident stream: the runs of its clusters from
// `startingVcn` (the stream's cluster number where the part begins) on.
struct DataPiece {
  std::uint64_t startingVcn = 0;
  std::vector<ondisk::DataRun> runs;
};

enum class DataKind {
  None,         // the record has no unnamed data stream
  Resident,     // its value lies in the record
  Unfit,        // resident, but the value does not fit its attribute
  NonResident,  // clusters of the volume hold it
};

// Where the content of a file's unnamed data stream is: the first unnamed
// $DATA of the record, or of its extension records; a non-resident stream's
// parts from all of them, in the order of their starting VCNs (one part per
// starting VCN).
struct FileData {
  DataKind kind = DataKind::None;
  std::vector<std::byte> resident;
  std::vector<DataPiece> pieces;
  // Bytes past this read as zeros (the part at VCN 0 says); empty when unknown.
  std::optional<std::uint64_t> initializedSize;
};

[[nodiscard]] FileData findFileData(const RecordContext& record);

}  // namespace dravel::basic
