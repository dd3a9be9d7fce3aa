#pragma once
// Sort keys of the report lists: the CSortClass conversions and
// comparisons for typed tables, and the cell comparison of a header click.
// Plain C++: the scans sort their hidden tables with these, the list controls
// wrap them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dravel {

// ---- CSortClass ---------------------------------------------------------

// The numeric key of a cell text, as the C library's atoi reads it: leading
// blanks, an optional sign, then decimal digits up to the first non-digit.
// A text without leading digits gives 0; values beyond the signed 32-bit range
// are clipped to INT32_MAX or INT32_MIN ("4294967295" gives INT32_MAX).
[[nodiscard]] std::int32_t numericSortKey(std::string_view text);

// Case-insensitive comparison (ASCII letters folded to lower case, bytes
// compared unsigned, as _stricmp): negative, zero or positive.
[[nodiscard]] int compareNoCase(std::string_view a, std::string_view b);

// Stable merge sort of [first, last) by `less`. Unlike std::sort it stays in
// bounds and terminates for any comparison, including ones that are not a
// strict weak order (the mixed-type cell comparison below is not).
template <class RandomIt, class Less>
void stableSortSafe(RandomIt first, RandomIt last, Less less);

// Sorts the records by the numeric key of the projected text, ascending or
// descending. Each key is converted once before the sort; records with equal
// keys keep their order. `proj(record)` returns something a std::string_view
// can be made from.
template <class T, class Proj>
void sortByNumericKey(std::vector<T>& records, Proj proj, bool ascending);

// The same by the projected text, ignoring case.
template <class T, class Proj>
void sortByTextKey(std::vector<T>& records, Proj proj, bool ascending);

// ---- CColoredListCtrl header click ----------------------------------------

// What a cell converts to, worked out once per cell.
struct CellSortKey {
  std::optional<std::uint64_t> hex;  // the whole text is a hexadecimal number
  std::optional<double> real;        // the whole text is a decimal number, "%" allowed at the end
  std::optional<std::int32_t> date;  // YYYYMMDD of an ISO or DD-Mon-YYYY date
  std::string text;
};

// Blanks at both ends are ignored by every conversion.
// hex:  hexadecimal digits, optionally after "0x", at most 64 bits.
// real: [+|-] digits [. digits] [e|E [+|-] digits], or with the digits after
//       the point only; one "%" may follow; no "inf" or "nan".
// date: "YYYY-MM-DD" or "DD-Mon-YYYY" (English month abbreviations, any case),
//       month 1..12, day 1..31.
[[nodiscard]] CellSortKey makeCellSortKey(std::string_view text);

// The header-click comparison: both hex -> unsigned comparison; else both
// real -> numeric; else both dates -> by date; else the texts, case-sensitive
// (bytewise). Negative, zero or positive.
[[nodiscard]] int compareCellSortKeys(const CellSortKey& a, const CellSortKey& b);
[[nodiscard]] int compareListCells(std::string_view a, std::string_view b);

// ---- templates ----------------------------------------------------------

namespace detail {

template <class RandomIt, class Less>
void mergeRuns(RandomIt first, RandomIt middle, RandomIt last, Less& less,
               std::vector<typename std::iterator_traits<RandomIt>::value_type>& buffer) {
  buffer.clear();
  auto left = first;
  auto right = middle;
  while (left != middle && right != last) {
    // Take from the right run only when it is strictly less: equal elements
    // keep their order.
    if (less(*right, *left))
      buffer.push_back(std::move(*right++));
    else
      buffer.push_back(std::move(*left++));
  }
  while (left != middle) buffer.push_back(std::move(*left++));
  while (right != last) buffer.push_back(std::move(*right++));
  std::move(buffer.begin(), buffer.end(), first);
}

template <class Key, class T>
void applyOrder(std::vector<T>& records, const std::vector<std::pair<Key, std::size_t>>& order) {
  std::vector<T> sorted;
  sorted.reserve(records.size());
  for (const auto& entry : order) sorted.push_back(std::move(records[entry.second]));
  records = std::move(sorted);
}

}  // namespace detail

template <class RandomIt, class Less>
void stableSortSafe(RandomIt first, RandomIt last, Less less) {
  const auto count = static_cast<std::size_t>(last - first);
  if (count < 2) return;
  std::vector<typename std::iterator_traits<RandomIt>::value_type> buffer;
  buffer.reserve(count);
  // Bottom-up: runs of width 1, 2, 4, ... merged pairwise.
  for (std::size_t width = 1; width < count; width *= 2) {
    for (std::size_t start = 0; start + width < count; start += 2 * width) {
      const std::size_t end = std::min(start + 2 * width, count);
      using Diff = typename std::iterator_traits<RandomIt>::difference_type;
      detail::mergeRuns(first + static_cast<Diff>(start), first + static_cast<Diff>(start + width),
                        first + static_cast<Diff>(end), less, buffer);
    }
  }
}

template <class T, class Proj>
void sortByNumericKey(std::vector<T>& records, Proj proj, bool ascending) {
  std::vector<std::pair<std::int32_t, std::size_t>> order;
  order.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i)
    order.emplace_back(numericSortKey(std::string_view(proj(records[i]))), i);
  stableSortSafe(order.begin(), order.end(), [ascending](const auto& a, const auto& b) {
    return ascending ? a.first < b.first : b.first < a.first;
  });
  detail::applyOrder(records, order);
}

template <class T, class Proj>
void sortByTextKey(std::vector<T>& records, Proj proj, bool ascending) {
  std::vector<std::pair<std::string, std::size_t>> order;
  order.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) order.emplace_back(std::string(std::string_view(proj(records[i]))), i);
  stableSortSafe(order.begin(), order.end(), [ascending](const auto& a, const auto& b) {
    return ascending ? compareNoCase(a.first, b.first) < 0 : compareNoCase(b.first, a.first) < 0;
  });
  detail::applyOrder(records, order);
}

}  // namespace dravel
