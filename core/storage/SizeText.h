#pragma once

#include <cstdint>
#include <string>

namespace dravel::storage {

// "1023 Byte", "  1.00 KB", "  7.45 GB": below 1024 the byte count, else the
// value in the largest unit that keeps it below 1024 with two decimals in a
// field of six. Users of the text trim it.
[[nodiscard]] std::string formatSize(std::uint64_t bytes);

inline constexpr const char* kUnknownSize = "Unknown Size ";  // note the trailing blank

}  // namespace dravel::storage
