#include "SortKeys.h"

#include <array>
#include <charconv>
#include <limits>
#include <system_error>

#include "Text.h"

namespace dravel {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

template <class T>
int threeWay(const T& a, const T& b) {
  if (a < b) return -1;
  if (b < a) return 1;
  return 0;
}

std::optional<std::uint64_t> parseHex(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else
      return std::nullopt;
    if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) return std::nullopt;
    value = (value << 4) | digit;
  }
  return value;
}

// [+|-] (digits [. digits*] | . digits) [(e|E) [+|-] digits]
bool isDecimalReal(std::string_view text) {
  std::size_t i = 0;
  const auto digitsFrom = [&text](std::size_t at) {
    std::size_t n = 0;
    while (at + n < text.size() && isDigit(text[at + n])) ++n;
    return n;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t whole = digitsFrom(i);
  i += whole;
  std::size_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    fraction = digitsFrom(i);
    i += fraction;
  }
  if (whole == 0 && fraction == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponent = digitsFrom(i);
    if (exponent == 0) return false;
    i += exponent;
  }
  return i == text.size();
}

std::optional<double> parseReal(std::string_view text) {
  if (!text.empty() && text.back() == '%') text = trimView(text.substr(0, text.size() - 1));
  if (!isDecimalReal(text)) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> parseDigits(std::string_view text, std::size_t minLength, std::size_t maxLength) {
  if (text.size() < minLength || text.size() > maxLength) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<int> monthFromName(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kMonths{"jan", "feb", "mar", "apr", "may", "jun",
                                                            "jul", "aug", "sep", "oct", "nov", "dec"};
  if (name.size() != 3) return std::nullopt;
  const std::string lower{lowerAscii(name[0]), lowerAscii(name[1]), lowerAscii(name[2])};
  for (std::size_t i = 0; i < kMonths.size(); ++i)
    if (kMonths[i] == lower) return static_cast<int>(i) + 1;
  return std::nullopt;
}

// "YYYY-MM-DD" or "DD-Mon-YYYY" (the "%d-%b-%Y" of the lists) as YYYYMMDD.
std::optional<std::int32_t> parseDate(std::string_view text) {
  const auto firstDash = text.find('-');
  if (firstDash == std::string_view::npos) return std::nullopt;
  const auto secondDash = text.find('-', firstDash + 1);
  if (secondDash == std::string_view::npos) return std::nullopt;
  const auto first = text.substr(0, firstDash);
  const auto second = text.substr(firstDash + 1, secondDash - firstDash - 1);
  const auto third = text.substr(secondDash + 1);
  std::optional<int> year, month, day;
  if (first.size() == 4) {
    year = parseDigits(first, 4, 4);
    month = parseDigits(second, 1, 2);
    day = parseDigits(third, 1, 2);
  } else {
    day = parseDigits(first, 1, 2);
    month = monthFromName(second);
    year = parseDigits(third, 4, 4);
  }
  if (!year || !month || !day) return std::nullopt;
  if (*month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
  return *year * 10000 + *month * 100 + *day;
}

}  // namespace

std::int32_t numericSortKey(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulated as a magnitude that stops growing once past the 32-bit range.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit + 1;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

int compareNoCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(lowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(lowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return threeWay(a.size(), b.size());
}

CellSortKey makeCellSortKey(std::string_view text) {
  const auto trimmed = trimView(text);
  CellSortKey key;
  key.hex = parseHex(trimmed);
  key.real = parseReal(trimmed);
  key.date = parseDate(trimmed);
  key.text = std::string(text);
  return key;
}

int compareCellSortKeys(const CellSortKey& a, const CellSortKey& b) {
  if (a.hex && b.hex) return threeWay(*a.hex, *b.hex);
  if (a.real && b.real) return threeWay(*a.real, *b.real);
  if (a.date && b.date) return threeWay(*a.date, *b.date);
  const int order = a.text.compare(b.text);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int compareListCells(std::string_view a, std::string_view b) {
  return compareCellSortKeys(makeCellSortKey(a), makeCellSortKey(b));
}

}  // namespace dravel
