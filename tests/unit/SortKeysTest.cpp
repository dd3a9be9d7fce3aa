#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "common/SortKeys.h"

namespace dravel {
namespace {

// ---- CSortClass ---------------------------------------------------------

struct NumericCase {
  const char* text;
  std::int32_t key;
};

class NumericKeyCases : public ::testing::TestWithParam<NumericCase> {};

TEST_P(NumericKeyCases, ReadsLeadingDigits) { EXPECT_EQ(numericSortKey(GetParam().text), GetParam().key); }

INSTANTIATE_TEST_SUITE_P(
    Atoi, NumericKeyCases,
    ::testing::Values(NumericCase{"0", 0}, NumericCase{"10", 10}, NumericCase{"  42", 42}, NumericCase{"+7", 7},
                      NumericCase{"-15", -15}, NumericCase{"12abc", 12}, NumericCase{"abc12", 0},
                      NumericCase{"", 0}, NumericCase{"-", 0}, NumericCase{"1.9", 1},
                      NumericCase{"2147483647", INT32_MAX}, NumericCase{"2147483648", INT32_MAX},
                      NumericCase{"4294967295", INT32_MAX}, NumericCase{"99999999999999999999999", INT32_MAX},
                      NumericCase{"-2147483648", INT32_MIN}, NumericCase{"-2147483649", INT32_MIN},
                      NumericCase{"-99999999999999999999999", INT32_MIN}, NumericCase{"0007", 7}));

struct Row {
  std::string cell;
  int id;
};

std::vector<int> ids(const std::vector<Row>& rows) {
  std::vector<int> out;
  for (const auto& row : rows) out.push_back(row.id);
  return out;
}

// "4294967295" (the text of directories that fit no file system)
// converts to the largest 32-bit value and sorts last.
TEST(SortByNumericKey, DirectoryMarkerSortsLast) {
  std::vector<Row> rows{{"4294967295", 1}, {"10", 2}, {"9", 3}};
  sortByNumericKey(rows, [](const Row& r) { return r.cell; }, true);
  EXPECT_EQ(ids(rows), (std::vector<int>{3, 2, 1}));
  sortByNumericKey(rows, [](const Row& r) { return r.cell; }, false);
  EXPECT_EQ(ids(rows), (std::vector<int>{1, 2, 3}));
}

TEST(SortByNumericKey, EqualKeysKeepTheirOrderBothWays) {
  std::vector<Row> rows{{"5", 1}, {"x", 2}, {"5", 3}, {"0", 4}, {"-1", 5}};
  sortByNumericKey(rows, [](const Row& r) { return r.cell; }, true);
  EXPECT_EQ(ids(rows), (std::vector<int>{5, 2, 4, 1, 3}));
  sortByNumericKey(rows, [](const Row& r) { return r.cell; }, false);
  EXPECT_EQ(ids(rows), (std::vector<int>{1, 3, 2, 4, 5}));
}

TEST(CompareNoCase, IgnoresCaseOfAsciiLetters) {
  EXPECT_EQ(compareNoCase("dir", "DIR"), 0);
  EXPECT_LT(compareNoCase("abc", "ABD"), 0);
  EXPECT_GT(compareNoCase("b", "A"), 0);
  EXPECT_LT(compareNoCase("ab", "ABC"), 0);
  EXPECT_EQ(compareNoCase("", ""), 0);
  // Folded to lower case, as _stricmp: '_' (0x5F) sorts before letters.
  EXPECT_LT(compareNoCase("_", "a"), 0);
  EXPECT_LT(compareNoCase("_", "A"), 0);
}

TEST(SortByTextKey, IgnoresCaseAndIsStable) {
  std::vector<Row> rows{{"dir", 1}, {"Beta", 2}, {"DIR", 3}, {"alpha", 4}};
  sortByTextKey(rows, [](const Row& r) { return r.cell; }, true);
  EXPECT_EQ(ids(rows), (std::vector<int>{4, 2, 1, 3}));
  sortByTextKey(rows, [](const Row& r) { return r.cell; }, false);
  EXPECT_EQ(ids(rows), (std::vector<int>{1, 3, 2, 4}));
}

TEST(SortByKey, EmptyAndSingleVectors) {
  std::vector<Row> none;
  sortByTextKey(none, [](const Row& r) { return r.cell; }, true);
  EXPECT_TRUE(none.empty());
  std::vector<Row> one{{"z", 1}};
  sortByNumericKey(one, [](const Row& r) { return r.cell; }, false);
  EXPECT_EQ(ids(one), (std::vector<int>{1}));
}

TEST(StableSortSafe, MatchesStdStableSortOnRandomData) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    std::vector<std::pair<int, int>> values;
    const int count = static_cast<int>(random() % 200);
    for (int i = 0; i < count; ++i) values.emplace_back(static_cast<int>(random() % 10), i);
    auto expected = values;
    const auto less = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(expected.begin(), expected.end(), less);
    stableSortSafe(values.begin(), values.end(), less);
    EXPECT_EQ(values, expected);
  }
}

TEST(StableSortSafe, SurvivesAComparisonThatIsNoOrder) {
  std::mt19937 random(11);
  std::vector<int> values(1000);
  for (auto& v : values) v = static_cast<int>(random() % 100);
  auto sorted = values;
  stableSortSafe(sorted.begin(), sorted.end(), [&random](int, int) { return random() % 2 == 0; });
  std::sort(sorted.begin(), sorted.end());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(sorted, values);  // a permutation of what went in
}

// ---- header-click comparison ---------------------------------------------

int sign(int v) { return (v > 0) - (v < 0); }

struct CellCase {
  const char* a;
  const char* b;
  int order;
};

class CellComparisonCases : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellComparisonCases, ComparesByTheFirstKindBothCellsHave) {
  EXPECT_EQ(sign(compareListCells(GetParam().a, GetParam().b)), GetParam().order)
      << GetParam().a << " vs " << GetParam().b;
  EXPECT_EQ(sign(compareListCells(GetParam().b, GetParam().a)), -GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderClick, CellComparisonCases,
    ::testing::Values(
        // Hexadecimal, unsigned.
        CellCase{"9", "10", -1}, CellCase{"ff", "100", -1}, CellCase{"FF", "ff", 0}, CellCase{"0x1F", "1e", 1},
        CellCase{"4294967295", "10", 1}, CellCase{"18446744073709551615", "0", 1}, CellCase{"007", "7", 0},
        CellCase{" 12 ", "3", 1},
        // Decimal reals (not both hexadecimal).
        CellCase{"1.5", "10", -1}, CellCase{"-5", "3", -1}, CellCase{"-5", "-10", 1}, CellCase{"2.50", "2.5", 0},
        CellCase{"50%", "7", 1}, CellCase{"12.5%", "100%", -1}, CellCase{"+3", "2.9", 1},
        CellCase{".5", "0.25", 1},
        // "1e3" is 0x1E3 against another hexadecimal cell, 1000 against a real.
        CellCase{"1e3", "1f0", -1}, CellCase{"1e3", "999.5", 1}, CellCase{"1e3", "999.5x", -1},
        // Dates, ISO and DD-Mon-YYYY, against each other too.
        CellCase{"2024-03-05", "2023-12-31", 1}, CellCase{"05-Mar-2024", "28-Feb-2024", 1},
        CellCase{"05-Mar-2024", "2024-03-05", 0}, CellCase{"01-jan-2000", "31-Dec-1999", 1},
        CellCase{"9-Sep-2009", "10-Sep-2009", -1},
        // Text, case-sensitive, bytewise.
        CellCase{"Beta", "alpha", -1}, CellCase{"alpha", "alpha", 0}, CellCase{"FOLDER", "File", -1},
        CellCase{"", "a", -1}, CellCase{"nan", "inf", 1}, CellCase{"2024-13-01", "2024-01-01", 1},
        CellCase{"32-Jan-2024", "01-Jan-2024", 1}, CellCase{"05-Foo-2024", "05-Mar-2024", -1},
        CellCase{"1.2.3", "1.2", 1}, CellCase{"5 %%", "4", 1}));

TEST(CellSortKey, RecordsEveryConversion) {
  const auto hexAndReal = makeCellSortKey("10");
  ASSERT_TRUE(hexAndReal.hex);
  EXPECT_EQ(*hexAndReal.hex, 16u);
  ASSERT_TRUE(hexAndReal.real);
  EXPECT_EQ(*hexAndReal.real, 10.0);
  EXPECT_FALSE(hexAndReal.date);
  const auto date = makeCellSortKey("05-Mar-2024");
  EXPECT_FALSE(date.hex);
  EXPECT_FALSE(date.real);
  ASSERT_TRUE(date.date);
  EXPECT_EQ(*date.date, 20240305);
  const auto percent = makeCellSortKey("12.5 %");
  ASSERT_TRUE(percent.real);
  EXPECT_EQ(*percent.real, 12.5);
  EXPECT_FALSE(makeCellSortKey("0x").hex);
  EXPECT_FALSE(makeCellSortKey("12345678901234567").hex);  // beyond 64 bits
  EXPECT_TRUE(makeCellSortKey("12345678901234567").real);
  EXPECT_FALSE(makeCellSortKey("inf").real);
  EXPECT_FALSE(makeCellSortKey("1e").real);
  EXPECT_FALSE(makeCellSortKey("%").real);
}

}  // namespace
}  // namespace dravel
