#pragma once
// NTFS file records: the update-sequence fix-up and the attribute walk. Every
// offset and length taken from a record is bounded by the record itself.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/ByteView.h"

namespace dravel::ondisk {

inline constexpr std::uint32_t kAttrVolumeName = 0x60;
inline constexpr std::uint32_t kAttrEnd = 0xFFFFFFFF;

// Restores the last two bytes of each 512-byte stride of `record` from its
// update sequence array. False when the record does not begin with "FILE",
// the array lies outside the record, or a stride does not carry the update
// sequence number (a torn or foreign record).
[[nodiscard]] bool applyFixup(std::span<std::byte> record);

struct Attribute {
  std::uint32_t type = 0;
  bool nonResident = false;
  std::uint8_t nameLength = 0;       // UTF-16 units
  ByteView whole;                    // the attribute's bytes, header included
  std::optional<ByteView> resident;  // the value of a resident attribute
};

// The attributes of a fixed-up record, in record order, up to the end marker
// or the first attribute whose header does not fit; never throws.
[[nodiscard]] std::vector<Attribute> attributes(ByteView record);

}  // namespace dravel::ondisk
