#pragma once
// The records a file's attributes are spread over, from its resident
// attribute list ($ATTRIBUTE_LIST). A non-resident list is not followed.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "MftRecord.h"

namespace dravel::ondisk {

// A list in one 1024-byte record names no more distinct records than this.
inline constexpr std::size_t kMaxRecordReferences = 64;

// The record's own index first, then each record named by an entry of its
// resident attribute lists, each once, in list order. An entry of type 0 or
// 0xFFFFFFFF, or one too short to hold its reference, ends its list, as
// does an entry whose fixed part would run past the list.
[[nodiscard]] std::vector<std::uint64_t> recordReferences(const std::vector<Attribute>& attributes,
                                                          std::uint64_t ownIndex);

}  // namespace dravel::ondisk
