#include "PartitionTableLayout.h"

#include "common/Text.h"

namespace dravel::ondisk {

std::optional<MbrEntry> parseMbrEntry(ByteView sector, std::size_t index) {
  if (index >= kMbrEntryCount) return std::nullopt;
  const auto raw = sector.sub(kMbrEntryTableOffset + index * kMbrEntrySize, kMbrEntrySize);
  if (!raw) return std::nullopt;
  MbrEntry entry;
  entry.status = *raw->u8(0);
  entry.type = *raw->u8(4);
  entry.firstSector = *raw->u32le(8);
  entry.sectorCount = *raw->u32le(12);
  return entry;
}

bool isExtendedType(std::uint8_t type) {
  return type == kTypeExtendedChs || type == kTypeExtendedLba || type == kTypeLinuxExtended;
}

bool hasBootSignature(ByteView sector) {
  return sector.u8(kBootSignatureOffset) == 0x55 && sector.u8(kBootSignatureOffset + 1) == 0xAA;
}

bool Guid::isZero() const {
  for (auto b : bytes) {
    if (b != 0) return false;
  }
  return true;
}

namespace {

std::optional<std::uint8_t> hexNibble(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

// Text order of the 16 bytes: the first three groups are little-endian on disk.
constexpr std::array<std::size_t, 16> kTextToDisk = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

}  // namespace

std::optional<Guid> parseGuid(std::string_view text) {
  if (text.size() != 36) return std::nullopt;
  Guid guid;
  std::size_t byteIndex = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const auto high = hexNibble(text[i]);
    const auto low = hexNibble(text[i + 1]);
    if (!high || !low) return std::nullopt;
    guid.bytes[kTextToDisk[byteIndex++]] = static_cast<std::uint8_t>((*high << 4) | *low);
    i += 2;
  }
  return guid;
}

std::string formatGuid(const Guid& guid) {
  std::string out;
  for (std::size_t i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    out += strprintf("%02X", guid.bytes[kTextToDisk[i]]);
  }
  return out;
}

namespace gpt_type {
const Guid& microsoftReserved() {
  static const Guid g = *parseGuid("E3C9E316-0B5C-4DB8-817D-F92DF00215AE");
  return g;
}
const Guid& ldmData() {
  static const Guid g = *parseGuid("AF9B60A0-1431-4F62-BC68-3311714A69AD");
  return g;
}
const Guid& ldmMetadata() {
  static const Guid g = *parseGuid("5808C8AA-7E8F-42E0-85D2-E1E90434CFB3");
  return g;
}
const Guid& basicData() {
  static const Guid g = *parseGuid("EBD0A0A2-B9E5-4433-87C0-68B6B72699C7");
  return g;
}
}  // namespace gpt_type

std::optional<GptHeader> parseGptHeader(ByteView sector) {
  if (!sector.matches(0, "EFI PART")) return std::nullopt;
  const auto entriesLba = sector.u64le(0x48);
  const auto count = sector.u32le(0x50);
  const auto size = sector.u32le(0x54);
  if (!entriesLba || !count || !size) return std::nullopt;
  // Entry sizes are 128 × 2^n by definition; anything else is garbage.
  if (*size < kGptEntrySize || (*size & (*size - 1)) != 0 || *size > 4096) return std::nullopt;
  return GptHeader{*entriesLba, *count, *size};
}

std::optional<GptEntry> parseGptEntry(ByteView entry) {
  const auto raw = entry.sub(0, kGptEntrySize);
  if (!raw) return std::nullopt;
  GptEntry out;
  for (std::size_t i = 0; i < 16; ++i) out.type.bytes[i] = *raw->u8(i);
  out.firstLba = *raw->u64le(32);
  out.lastLba = *raw->u64le(40);
  return out;
}

}  // namespace dravel::ondisk
