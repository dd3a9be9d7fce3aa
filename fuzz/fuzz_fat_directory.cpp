// The input is a run of FAT directory sectors. Every entry is decoded under
// both width rules, and the long name before it is gathered, crossing back
// into the earlier sectors of the run. Hostile entries must yield fewer
// names, never an out-of-bounds read or an endless walk.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "basic/FatDirectoryEntry.h"

namespace {

dravel::SectorBuffer sectorAt(const std::uint8_t* data, std::size_t size, std::size_t index) {
  dravel::SectorBuffer sector{};
  const std::size_t offset = index * dravel::kSectorSize;
  if (offset < size) std::memcpy(sector.data(), data + offset, std::min<std::size_t>(dravel::kSectorSize, size - offset));
  return sector;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravel::basic::fat;
  const std::size_t sectors = (size + dravel::kSectorSize - 1) / dravel::kSectorSize;
  for (std::size_t i = 0; i < sectors; ++i) {
    const dravel::SectorBuffer sector = sectorAt(data, size, i);
    const dravel::ByteView view(sector);
    (void)beginsWithDotEntries(view);
    const PreviousSector previous = [&](std::size_t stepsBack) -> std::optional<dravel::SectorBuffer> {
      if (stepsBack > i) return std::nullopt;
      return sectorAt(data, size, i - stepsBack);
    };
    for (std::size_t offset = 0; offset < dravel::kSectorSize; offset += kEntrySize) {
      const auto entry = decodeEntry(*view.sub(offset, kEntrySize), true);
      (void)decodeEntry(*view.sub(offset, kEntrySize), false);
      if (!entry || entry->kind == EntryKind::End || entry->kind == EntryKind::LongName) continue;
      (void)displayName(longNameBefore(view, offset, previous), entry->shortName);
    }
  }
  return 0;
}
