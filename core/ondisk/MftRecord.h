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

inline constexpr std::size_t kMftRecordSize = 1024;

inline constexpr std::uint32_t kAttrAttributeList = 0x20;
inline constexpr std::uint32_t kAttrFileName = 0x30;
inline constexpr std::uint32_t kAttrVolumeName = 0x60;
inline constexpr std::uint32_t kAttrData = 0x80;
inline constexpr std::uint32_t kAttrEnd = 0xFFFFFFFF;

// File record header fields.
inline constexpr std::size_t kRecordFlagsOffset = 0x16;
inline constexpr std::size_t kBaseRecordOffset = 0x20;
inline constexpr std::uint16_t kRecordInUse = 0x01;
inline constexpr std::uint16_t kRecordDirectory = 0x02;

// The record number of a file reference (its low 48 bits; the rest is the
// sequence number).
[[nodiscard]] constexpr std::uint64_t referenceRecord(std::uint64_t reference) { return reference & 0xFFFFFFFFFFFFull; }

// Restores the last two bytes of each 512-byte stride of `record` from its
// update sequence array. False when the record does not begin with "FILE",
// the array lies outside the record, or a stride does not carry the update
// sequence number (a torn or foreign record).
[[nodiscard]] bool applyFixup(std::span<std::byte> record);

// The recovery form of the fix-up: with k the array's entry count, entries 1
// to k − 1 go over the tails of the record's first k − 1 sectors (as many as
// the buffer holds), whatever the tails carry, so that a deleted record with
// a torn sector still yields what it can. Nothing is restored, and false
// returned, when the array lies outside the buffer. The signature is not
// looked at.
bool restoreUpdateSequence(std::span<std::byte> record);

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

// The walk a recovery makes: bounded by the whole record rather than by its
// bytes-in-use field (stale or zero in a deleted record), ending at type 0
// as well as at the end marker.
[[nodiscard]] std::vector<Attribute> recordAttributes(ByteView record);

// The size of the file's unnamed data stream when this record holds its
// first part: a resident value's length, or the real size of a non-resident
// one starting at cluster 0 of the stream. Named streams are passed over.
[[nodiscard]] std::optional<std::uint64_t> dataSize(const std::vector<Attribute>& attributes);

}  // namespace dravel::ondisk
