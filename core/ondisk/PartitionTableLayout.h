#pragma once
// On-disk layout of MBR/EBR sectors and GPT headers and entries.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/ByteView.h"

namespace dravel::ondisk {

inline constexpr std::size_t kMbrEntryTableOffset = 0x1BE;
inline constexpr std::size_t kMbrEntrySize = 16;
inline constexpr std::size_t kMbrEntryCount = 4;
inline constexpr std::size_t kBootSignatureOffset = 510;

// MBR partition type codes the system cares about.
inline constexpr std::uint8_t kTypeExtendedChs = 0x05;
inline constexpr std::uint8_t kTypeExtendedLba = 0x0F;
inline constexpr std::uint8_t kTypeLinuxExtended = 0x85;
inline constexpr std::uint8_t kTypeDynamicDisk = 0x42;  // Logical Disk Manager
inline constexpr std::uint8_t kTypeGptProtective = 0xEE;

struct MbrEntry {
  std::uint8_t status = 0;
  std::uint8_t type = 0;
  std::uint32_t firstSector = 0;  // relative to the table's base (0 for the MBR)
  std::uint32_t sectorCount = 0;
};

// The entry `index` (0..3) of an MBR or EBR sector; nullopt when the view is
// too short or the index is out of range.
[[nodiscard]] std::optional<MbrEntry> parseMbrEntry(ByteView sector, std::size_t index);

[[nodiscard]] bool isExtendedType(std::uint8_t type);

// Both bytes 0x55 0xAA at offsets 510 and 511.
[[nodiscard]] bool hasBootSignature(ByteView sector);

struct Guid {
  std::array<std::uint8_t, 16> bytes{};  // as stored on disk (mixed endian)
  friend bool operator==(const Guid&, const Guid&) = default;
  [[nodiscard]] bool isZero() const;
};

// "E3C9E316-0B5C-4DB8-817D-F92DF00215AE" to its on-disk bytes and back.
[[nodiscard]] std::optional<Guid> parseGuid(std::string_view text);
[[nodiscard]] std::string formatGuid(const Guid& guid);

namespace gpt_type {
const Guid& microsoftReserved();
const Guid& ldmData();
const Guid& ldmMetadata();
const Guid& basicData();
}  // namespace gpt_type

inline constexpr std::size_t kGptEntrySize = 128;

struct GptHeader {
  std::uint64_t entriesLba = 0;
  std::uint32_t entryCount = 0;
  std::uint32_t entrySize = 0;
};

// A "EFI PART" header sector; nullopt when the signature or sizes are wrong.
[[nodiscard]] std::optional<GptHeader> parseGptHeader(ByteView sector);

struct GptEntry {
  Guid type;
  std::uint64_t firstLba = 0;
  std::uint64_t lastLba = 0;  // inclusive
};

[[nodiscard]] std::optional<GptEntry> parseGptEntry(ByteView entry);

}  // namespace dravel::ondisk
