#pragma once
// Small text helpers shared by every layer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ByteView.h"

namespace dravel {

// Removes blanks (space, tab, CR, LF, VT, FF) at both ends.
[[nodiscard]] std::string_view trimView(std::string_view text);
[[nodiscard]] std::string trim(std::string_view text);

[[nodiscard]] std::string toUpperAscii(std::string_view text);
[[nodiscard]] bool containsText(std::string_view haystack, std::string_view needle);
[[nodiscard]] bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Strict decimal parse of the whole text: digits only, no sign, no blanks,
// nothing beyond 64 bits.
[[nodiscard]] std::optional<std::uint64_t> parseUnsigned(std::string_view text);

// printf into a std::string; the toolchain has no std::format yet.
[[nodiscard]] std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// UTF-16LE code units (as stored on disk) to UTF-8. Unpaired surrogates become
// U+FFFD. Stops at the first NUL unit when stopAtNul is set.
[[nodiscard]] std::string utf16leToUtf8(ByteView units, bool stopAtNul = true);

// One code point to UTF-8, appended.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace dravel
