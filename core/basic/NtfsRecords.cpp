#include "NtfsRecords.h"

#include <algorithm>
#include <functional>

#include "ondisk/MftAttributeList.h"

namespace dravel::basic {

using ondisk::Attribute;
using ondisk::MftLayout;

namespace {

constexpr std::uint32_t kRecordSectors = ondisk::kMftRecordSize / kSectorSize;

// Calls `visit` with the attributes of each extension record the attribute
// list names, in list order, until it returns true. A named record counts
// only when it is a "FILE" record that names this record as its base: a
// freed extension record reused by another file must not lend its names.
void forEachExtension(const RecordContext& record, const std::function<bool(const std::vector<Attribute>&)>& visit) {
  const auto references = ondisk::recordReferences(record.attributes, record.index);
  for (std::size_t i = 1; i < references.size(); ++i) {
    auto extension = readRecordByIndex(record.source, record.layout, references[i]);
    if (!extension || !prepareRecord(*extension)) continue;
    const ByteView view(*extension);
    if (ondisk::referenceRecord(view.u64le(ondisk::kBaseRecordOffset).value_or(0)) != record.index) continue;
    if (visit(ondisk::recordAttributes(view))) return;
  }
}

constexpr std::size_t kStartingVcnOffset = 0x10;
constexpr std::size_t kInitializedSizeOffset = 0x38;

bool decided(const FileData& data) { return data.kind == DataKind::Resident || data.kind == DataKind::Unfit; }

// Adds the unnamed data attributes of one record. A resident one counts
// only while nothing was found before it.
void takeDataAttributes(const std::vector<Attribute>& attributes, FileData& data) {
  for (const auto& attr : attributes) {
    if (attr.type != ondisk::kAttrData || attr.nameLength != 0 || decided(data)) continue;
    if (!attr.nonResident) {
      if (data.kind != DataKind::None) continue;
      data.kind = attr.resident ? DataKind::Resident : DataKind::Unfit;
      if (attr.resident) data.resident.assign(attr.resident->bytes().begin(), attr.resident->bytes().end());
      continue;
    }
    data.kind = DataKind::NonResident;
    DataPiece piece{attr.whole.u64le(kStartingVcnOffset).value_or(0), ondisk::attributeDataRuns(attr.whole)};
    if (piece.startingVcn == 0 && !data.initializedSize) data.initializedSize = attr.whole.u64le(kInitializedSizeOffset);
    data.pieces.push_back(std::move(piece));
  }
}

}  // namespace

std::optional<MftRecordBuffer> readRecordAt(storage::SectorSource& source, std::uint64_t sector) {
  MftRecordBuffer buffer{};
  if (!source.read(sector, kRecordSectors, buffer)) return std::nullopt;
  return buffer;
}

std::optional<MftRecordBuffer> readRecordByIndex(storage::SectorSource& source, const MftLayout& layout,
                                                 std::uint64_t index) {
  const auto first = layout.recordSector(index);
  const auto second = first ? layout.sectorOf(index * 2 + 1) : std::nullopt;
  if (!first || !second) return std::nullopt;
  if (*second == *first + 1) return readRecordAt(source, *first);
  MftRecordBuffer buffer{};
  const std::span<std::byte> whole(buffer);
  if (!source.read(*first, 1, whole.first(kSectorSize)) || !source.read(*second, 1, whole.last(kSectorSize))) {
    return std::nullopt;
  }
  return buffer;
}

bool prepareRecord(MftRecordBuffer& record) {
  if (!ByteView(record).matches(0, "FILE")) return false;
  (void)ondisk::restoreUpdateSequence(record);
  return true;
}

std::optional<ondisk::FileName> findRecordName(const RecordContext& record) {
  std::vector<ondisk::NamesBySpace> found{ondisk::namesBySpace(record.attributes)};
  forEachExtension(record, [&found](const std::vector<Attribute>& attributes) {
    found.push_back(ondisk::namesBySpace(attributes));
    return false;
  });
  for (std::size_t space = 0; space < ondisk::kNameSpaceOrder.size(); ++space) {
    for (const auto& names : found) {
      if (names[space]) return names[space];
    }
  }
  return std::nullopt;
}

std::uint64_t findDataSize(const RecordContext& record) {
  if (const auto size = ondisk::dataSize(record.attributes)) return *size;
  std::uint64_t size = 0;
  forEachExtension(record, [&size](const std::vector<Attribute>& attributes) {
    const auto found = ondisk::dataSize(attributes);
    if (found) size = *found;
    return found.has_value();
  });
  return size;
}

}  // namespace dravel::basic

namespace dravel::basic {

FileData findFileData(const RecordContext& record) {
  FileData data;
  takeDataAttributes(record.attributes, data);
  if (decided(data)) return data;
  forEachExtension(record, [&data](const std::vector<Attribute>& attributes) {
    takeDataAttributes(attributes, data);
    return decided(data);
  });
  auto& pieces = data.pieces;
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const DataPiece& a, const DataPiece& b) { return a.startingVcn < b.startingVcn; });
  pieces.erase(std::unique(pieces.begin(), pieces.end(),
                           [](const DataPiece& a, const DataPiece& b) { return a.startingVcn == b.startingVcn; }),
               pieces.end());
  return data;
}

}  // namespace dravel::basic
