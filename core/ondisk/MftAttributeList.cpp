#include "MftAttributeList.h"

#include <algorithm>

namespace dravel::ondisk {

namespace {

constexpr std::size_t kEntryLengthOffset = 4;
constexpr std::size_t kEntryReferenceOffset = 16;
// Type, length, name fields, starting VCN and the reference itself.
constexpr std::size_t kEntryMinLength = kEntryReferenceOffset + 8;

void addReference(std::vector<std::uint64_t>& out, std::uint64_t record) {
  if (out.size() < kMaxRecordReferences && std::find(out.begin(), out.end(), record) == out.end()) {
    out.push_back(record);
  }
}

void collectEntries(ByteView list, std::vector<std::uint64_t>& out) {
  std::size_t offset = 0;
  while (list.contains(offset, kEntryMinLength)) {
    const std::uint32_t type = *list.u32le(offset);
    if (type == 0 || type == kAttrEnd) break;
    const std::uint16_t length = *list.u16le(offset + kEntryLengthOffset);
    if (length < kEntryMinLength) break;
    addReference(out, referenceRecord(*list.u64le(offset + kEntryReferenceOffset)));
    offset += length;
  }
}

}  // namespace

std::vector<std::uint64_t> recordReferences(const std::vector<Attribute>& attributes, std::uint64_t ownIndex) {
  std::vector<std::uint64_t> out{ownIndex};
  for (const auto& attr : attributes) {
    if (attr.type == kAttrAttributeList && attr.resident) collectEntries(*attr.resident, out);
  }
  return out;
}

}  // namespace dravel::ondisk
