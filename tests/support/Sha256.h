#pragma once
// SHA-256 of a file or of bytes, to compare saved content with what the
// fixtures' truth listings record.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace dravel::test {

// Lower-case hex digest.
[[nodiscard]] std::string sha256Hex(std::span<const std::byte> bytes);
// nullopt when the file cannot be read.
[[nodiscard]] std::optional<std::string> sha256OfFile(const std::filesystem::path& file);

}  // namespace dravel::test
