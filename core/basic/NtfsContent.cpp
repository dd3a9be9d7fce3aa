#include "NtfsContent.h"

#include <algorithm>

#include "ContentCopy.h"

namespace dravel::basic {

using results::WriteResult;
using results::WriteStatus;

namespace {

std::uint64_t saturatingProduct(std::uint64_t a, std::uint64_t b) {
  std::uint64_t product = 0;
  return __builtin_mul_overflow(a, b, &product) ? UINT64_MAX : product;
}

// The record through the MFT's extents when they agree with the row (a
// record split between two extents is then read whole), else at its sector.
std::optional<MftRecordBuffer> readFileRecord(storage::SectorSource& source, const ondisk::MftLayout& mft,
                                              const results::ContentRow& row) {
  auto record = mft.recordSector(row.id) == row.debugSelf ? readRecordByIndex(source, mft, row.id)
                                                          : readRecordAt(source, row.debugSelf);
  if (!record || !prepareRecord(*record)) return std::nullopt;
  return record;
}

WriteResult writeResident(const std::vector<std::byte>& value, std::uint64_t size, results::ContentOutput& out,
                          const results::WriteControl& control) {
  const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(value.size(), size));
  if (bytes == 0) return {};
  if (const int error = out.write(std::span<const std::byte>(value.data(), bytes)); error != 0) {
    return {WriteStatus::OutputFailed, 0, 0, error};
  }
  if (control.progress) control.progress(bytes);
  return {WriteStatus::Written, bytes, 0, 0};
}

// One run: a sparse run is zeros; a run that starts before the volume (a
// negative cluster) or whose sector number overflows holds nothing to read;
// the copier makes zeros of whatever lies past the volume's end.
bool copyRun(ContentCopier& copier, const NtfsVolumeBounds& volume, const ondisk::DataRun& run) {
  const std::uint64_t bytes = saturatingProduct(run.clusterCount, std::uint64_t{volume.spc} * kSectorSize);
  if (!run.startCluster) return copier.zeros(bytes, false);
  std::uint64_t offset = 0;
  std::uint64_t first = 0;
  if (*run.startCluster < 0 ||
      __builtin_mul_overflow(static_cast<std::uint64_t>(*run.startCluster), std::uint64_t{volume.spc}, &offset) ||
      __builtin_add_overflow(volume.cluster0Start, offset, &first)) {
    return copier.zeros(bytes, true);
  }
  return copier.sectors(first, saturatingProduct(run.clusterCount, volume.spc));
}

WriteResult writeNonResident(storage::SectorSource& source, const FileData& data, const NtfsVolumeBounds& volume,
                             std::uint64_t size, results::ContentOutput& out, const results::WriteControl& control) {
  const std::uint64_t clusterBytes = std::uint64_t{volume.spc} * kSectorSize;
  ContentCopier copier(source, out, control, size, {volume.cluster0Start, volume.endSector, volume.spc},
                       data.initializedSize.value_or(UINT64_MAX));
  std::uint64_t vcn = 0;  // the stream's next cluster
  for (const DataPiece& piece : data.pieces) {
    // A part that overlaps the one before is a damaged list: the first wins.
    if (piece.startingVcn < vcn) continue;
    // A part that is missing (an extension record not found) is zeros.
    if (piece.startingVcn > vcn && !copier.zeros(saturatingProduct(piece.startingVcn - vcn, clusterBytes), true)) break;
    vcn = piece.startingVcn;
    bool more = true;
    for (const auto& run : piece.runs) {
      more = copyRun(copier, volume, run);
      if (!more) break;
      vcn = run.clusterCount > UINT64_MAX - vcn ? UINT64_MAX : vcn + run.clusterCount;
    }
    if (!more) break;
  }
  return copier.finish();
}

}  // namespace

WriteResult writeNtfsFile(storage::SectorSource& source, const ondisk::MftLayout& mft, const NtfsVolumeBounds& volume,
                          const results::ContentRow& row, results::ContentOutput& out,
                          const results::WriteControl& control) {
  auto record = readFileRecord(source, mft, row);
  if (!record) return {WriteStatus::NoContent, 0, 0, 0};
  const auto attributes = ondisk::recordAttributes(ByteView(*record));
  const FileData data = findFileData(RecordContext{attributes, row.id, source, mft});
  switch (data.kind) {
    case DataKind::None: return {};
    case DataKind::Unfit: return {WriteStatus::NoContent, 0, 0, 0};
    case DataKind::Resident: return writeResident(data.resident, row.size, out, control);
    case DataKind::NonResident: break;
  }
  if (row.size == 0 || volume.spc == 0) return {};
  return writeNonResident(source, data, volume, row.size, out, control);
}

}  // namespace dravel::basic
