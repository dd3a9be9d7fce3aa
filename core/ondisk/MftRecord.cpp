#include "MftRecord.h"

#include <algorithm>
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

namespace {

constexpr std::size_t kUsaOffset = 0x04;
constexpr std::size_t kUsaCount = 0x06;
constexpr std::size_t kFirstAttributeOffset = 0x14;
constexpr std::size_t kBytesInUseOffset = 0x18;
constexpr std::size_t kAttributeHeaderMin = 16;
constexpr std::size_t kStartingVcnOffset = 0x10;
constexpr std::size_t kRealSizeOffset = 0x30;

// The attributes from the first-attribute offset up to `limit`.
std::vector<Attribute> walkAttributes(ByteView record, std::size_t limit, bool typeZeroEnds) {
  std::vector<Attribute> out;
  const auto firstOffset = record.u16le(kFirstAttributeOffset);
  if (!firstOffset) return out;
  limit = std::min(limit, record.size());
  std::size_t offset = *firstOffset;
  while (offset <= limit && limit - offset >= 8) {
    const std::uint32_t type = *record.u32le(offset);
    if (type == kAttrEnd || (typeZeroEnds && type == 0)) break;
    const std::uint32_t length = *record.u32le(offset + 4);
    // A header is at least 16 bytes; zero or overlong lengths end the walk.
    if (length < kAttributeHeaderMin || length > limit - offset) break;
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

}  // namespace

bool restoreUpdateSequence(std::span<std::byte> record) {
  const ByteView view(record);
  const auto usaOffset = view.u16le(kUsaOffset);
  const auto usaCount = view.u16le(kUsaCount);
  if (!usaOffset || !usaCount) return false;
  if (!view.contains(*usaOffset, static_cast<std::size_t>(*usaCount) * 2)) return false;
  const std::size_t sectors = std::min<std::size_t>(*usaCount == 0 ? 0 : *usaCount - 1u, record.size() / kSectorSize);
  for (std::size_t i = 1; i <= sectors; ++i) {
    // memmove: in a hostile record the array may overlap a tail.
    std::memmove(record.data() + i * kSectorSize - 2, record.data() + *usaOffset + i * 2, 2);
  }
  return true;
}

std::vector<Attribute> attributes(ByteView record) {
  const auto bytesInUse = record.u32le(kBytesInUseOffset);
  if (!bytesInUse) return {};
  return walkAttributes(record, *bytesInUse, false);
}

std::vector<Attribute> recordAttributes(ByteView record) { return walkAttributes(record, record.size(), true); }

std::optional<std::uint64_t> dataSize(const std::vector<Attribute>& attributes) {
  for (const auto& attr : attributes) {
    if (attr.type != kAttrData || attr.nameLength != 0) continue;
    if (!attr.nonResident) {
      if (attr.resident) return attr.resident->size();
      continue;  // a value that does not fit its attribute tells nothing
    }
    // Only a stream's first part carries its sizes.
    if (attr.whole.u64le(kStartingVcnOffset).value_or(1) != 0) continue;
    if (const auto size = attr.whole.u64le(kRealSizeOffset)) return *size;
  }
  return std::nullopt;
}

}  // namespace dravel::ondisk
