#include "MftRecord.h"

#include <cstring>

#include "ondisk/Sector.h"

namespace dravel::ondisk {

bool applyFixup(std::span<std::byte> record) {
  const ByteView view(record);
  if (!view.matches(0, "FILE")) return false;
  const auto usaOffset = view.u16le(0x04);
  const auto usaCount = view.u16le(0x06);
  if (!usaOffset || !usaCount || *usaCount == 0) return false;
  const std::size_t strides = record.size() / kSectorSize;
  if (static_cast<std::size_t>(*usaCount) - 1 > strides) return false;
  if (!view.contains(*usaOffset, static_cast<std::size_t>(*usaCount) * 2)) return false;
  const std::uint16_t usn = *view.u16le(*usaOffset);
  for (std::size_t i = 1; i < *usaCount; ++i) {
    const std::size_t tail = i * kSectorSize - 2;
    if (*view.u16le(tail) != usn) return false;
    // Copy through memmove: the array may overlap the tail in a hostile record.
    std::memmove(record.data() + tail, record.data() + *usaOffset + i * 2, 2);
  }
  return true;
}

std::vector<Attribute> attributes(ByteView record) {
  std::vector<Attribute> out;
  const auto firstOffset = record.u16le(0x14);
  const auto bytesInUse = record.u32le(0x18);
  if (!firstOffset || !bytesInUse) return out;
  const std::size_t limit = std::min<std::size_t>(*bytesInUse, record.size());
  std::size_t offset = *firstOffset;
  while (offset <= limit && limit - offset >= 8) {
    const std::uint32_t type = *record.u32le(offset);
    if (type == kAttrEnd) break;
    const std::uint32_t length = *record.u32le(offset + 4);
    // A header is at least 16 bytes; zero or overlong lengths end the walk.
    if (length < 16 || length > limit - offset) break;
    const ByteView whole = *record.sub(offset, length);
    Attribute attr;
    attr.type = type;
    attr.nonResident = *whole.u8(8) != 0;
    attr.nameLength = *whole.u8(9);
    attr.whole = whole;
    if (!attr.nonResident) {
      const auto valueLength = whole.u32le(0x10);
      const auto valueOffset = whole.u16le(0x14);
      if (valueLength && valueOffset) attr.resident = whole.sub(*valueOffset, *valueLength);
    }
    out.push_back(attr);
    offset += length;
  }
  return out;
}

}  // namespace dravel::ondisk
