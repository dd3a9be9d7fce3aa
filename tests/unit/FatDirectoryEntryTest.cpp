// The FAT directory entry decoder: entry kinds, the 8.3 name and its check,
// the long-name walk back over earlier entries and sectors, and the name a
// listing shows.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "support/FatImage.h"
#include "basic/FatDirectoryEntry.h"

namespace dravel::basic::fat {
namespace {

using test::FatEntry;
using Bytes = std::vector<std::uint8_t>;

ByteView viewOf(const Bytes& bytes) { return ByteView(std::as_bytes(std::span(bytes))); }

// A sector holding `entries` from slot `firstSlot` on.
SectorBuffer sectorWith(const std::vector<Bytes>& entries, std::size_t firstSlot = 0) {
  SectorBuffer sector{};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::memcpy(sector.data() + (firstSlot + i) * kEntrySize, entries[i].data(), kEntrySize);
  }
  return sector;
}

std::vector<Bytes> withShort(std::vector<Bytes> pieces, const FatEntry& entry) {
  pieces.push_back(test::shortEntryBytes(entry));
  return pieces;
}

struct ShortNameCase {
  const char* label;
  std::string stored;  // 11 bytes
  bool deleted;
  const char* text;
  bool accepted;
  bool acceptedBesideLongName;
};

class ShortNameTest : public testing::TestWithParam<ShortNameCase> {};

TEST_P(ShortNameTest, BuildsAndChecksTheName) {
  const auto& c = GetParam();
  const Bytes bytes = test::shortEntryBytes(FatEntry{c.stored, 0x20, 0, 0, 0, 0, c.deleted});
  const ShortName name = buildShortName(viewOf(bytes));
  EXPECT_EQ(name.text, c.text);
  EXPECT_EQ(name.accepted, c.accepted);
  EXPECT_EQ(name.acceptedBesideLongName, c.acceptedBesideLongName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShortNameTest,
    testing::Values(
        ShortNameCase{"plain", "README  TXT", false, "README.TXT", true, true},
        ShortNameCase{"no_extension", "NOEXT      ", false, "NOEXT", true, true},
        ShortNameCase{"inner_blanks_dropped", "MY FILE DA ", false, "MYFILE.DA", true, true},
        ShortNameCase{"deleted_first_byte", "README  TXT", true, "_EADME.TXT", true, true},
        ShortNameCase{"euro_sign_is_above_255", "\x80URO    TXT", false, "\u20ACURO.TXT", true, true},
        ShortNameCase{"s_caron_is_above_255", "\x8A" "AB     TXT", false, "\u0160AB.TXT", true, true},
        ShortNameCase{"e_acute_is_latin1", "CAF\xE9    TXT", false, "CAF\u00E9.TXT", false, true},
        ShortNameCase{"nbsp_is_latin1", "A\xA0" "B     TXT", false, "A\u00A0B.TXT", false, true},
        ShortNameCase{"undefined_0x81", "\x81" "BC     TXT", false, "\u0081BC.TXT", false, true},
        ShortNameCase{"undefined_0x9D", "AB\x9D     TXT", false, "AB\u009D.TXT", false, true},
        ShortNameCase{"delete_char_127_passes", "A\x7F" "B     TXT", false, "A\x7F" "B.TXT", true, true},
        ShortNameCase{"control_1", "A\x01" "B     TXT", false, "A\x01" "B.TXT", false, false},
        ShortNameCase{"control_31", "A\x1F" "B     TXT", false, "A\x1F" "B.TXT", false, false},
        ShortNameCase{"question_mark", "A?B     TXT", false, "A?B.TXT", false, false},
        ShortNameCase{"star_in_extension", "ABC     T*T", false, "ABC.T*T", false, false},
        ShortNameCase{"quote", "A\"B     TXT", false, "A\"B.TXT", false, false},
        ShortNameCase{"backslash", "A\\B     TXT", false, "A\\B.TXT", false, false},
        ShortNameCase{"slash", "A/B     TXT", false, "A/B.TXT", false, false},
        ShortNameCase{"less", "A<B     TXT", false, "A<B.TXT", false, false},
        ShortNameCase{"greater", "A>B     TXT", false, "A>B.TXT", false, false},
        ShortNameCase{"pipe", "A|B     TXT", false, "A|B.TXT", false, false},
        ShortNameCase{"colon", "A:B     TXT", false, "A:B.TXT", false, false}),
    [](const auto& p) { return std::string(p.param.label); });

struct KindCase {
  const char* label;
  FatEntry entry;
  EntryKind kind;
  bool deleted;
  bool volumeLabel;
};

class EntryKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(EntryKindTest, Classifies) {
  const auto& c = GetParam();
  const auto entry = decodeEntry(viewOf(test::shortEntryBytes(c.entry)), false);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->kind, c.kind);
  EXPECT_EQ(entry->deleted, c.deleted);
  EXPECT_EQ(entry->volumeLabel, c.volumeLabel);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EntryKindTest,
    testing::Values(KindCase{"end_marker", FatEntry{std::string("\0GARBAGETXT", 11), 0x20, 7}, EntryKind::End, false, false},
                    KindCase{"dot", FatEntry{".", 0x10, 5}, EntryKind::Dot, false, false},
                    KindCase{"dot_dot", FatEntry{"..", 0x10, 0}, EntryKind::Dot, false, false},
                    KindCase{"long_name", FatEntry{"ABCDEFGHIJK", 0x0F}, EntryKind::LongName, false, false},
                    KindCase{"deleted_long_name", FatEntry{"ABCDEFGHIJK", 0x0F, 0, 0, 0, 0, true},
                             EntryKind::LongName, true, false},
                    KindCase{"directory", FatEntry{"DOCS", 0x10, 9}, EntryKind::Directory, false, false},
                    KindCase{"deleted_directory", FatEntry{"DOCS", 0x10, 9, 0, 0, 0, true}, EntryKind::Directory,
                             true, false},
                    KindCase{"hidden_system_directory", FatEntry{"SYS", 0x16, 9}, EntryKind::Directory, false, false},
                    KindCase{"volume_label_is_a_file", FatEntry{"USBSTICK", 0x08}, EntryKind::File, false, true},
                    KindCase{"archive_file", FatEntry{"A       TXT", 0x20, 3}, EntryKind::File, false, false},
                    KindCase{"deleted_file", FatEntry{"A       TXT", 0x20, 3, 0, 0, 0, true}, EntryKind::File, true,
                             false}),
    [](const auto& p) { return std::string(p.param.label); });

// An 8.3-only name shows with its lower-case marks, as the writing system
// showed it; the SFN column keeps the bytes as stored.
TEST(FatDirectoryEntry, LowerCaseMarksShapeTheShownName) {
  struct Case {
    std::uint8_t flags;
    bool deleted;
    const char* shown;
  };
  const Case cases[] = {
      {0x00, false, "CHART.PNG"},
      {0x08, false, "chart.PNG"},
      {0x10, false, "CHART.png"},
      {0x18, false, "chart.png"},
      {0x18, true, "_hart.png"},
  };
  for (const auto& c : cases) {
    Bytes bytes = test::shortEntryBytes(FatEntry{"CHART   PNG", 0x20, 0, 0, 0, 0, c.deleted});
    bytes[kDirCaseFlags] = c.flags;
    const ShortName name = buildShortName(viewOf(bytes));
    EXPECT_EQ(displayName("", name), c.shown) << int{c.flags};
    EXPECT_EQ(name.text, c.deleted ? "_HART.PNG" : "CHART.PNG");
  }
}

TEST(FatDirectoryEntry, FirstClusterUsesTheHighWordOnFat32Only) {
  const Bytes bytes = test::shortEntryBytes(FatEntry{"DATA    BIN", 0x20, 0x00123456, 4096, 0x1234, 0x5678});
  const auto fat16 = decodeEntry(viewOf(bytes), false);
  const auto fat32 = decodeEntry(viewOf(bytes), true);
  EXPECT_EQ(fat16->firstCluster, 0x3456u);
  EXPECT_EQ(fat32->firstCluster, 0x123456u);
  EXPECT_EQ(fat32->size, 4096u);
  EXPECT_EQ(fat32->date, 0x1234);
  EXPECT_EQ(fat32->time, 0x5678);
}

TEST(FatDirectoryEntry, ShortViewsDecodeToNothing) {
  const Bytes bytes(31, 0x41);
  EXPECT_FALSE(decodeEntry(viewOf(bytes), true));
  EXPECT_FALSE(buildShortName(viewOf(bytes)).accepted);
}

TEST(FatDirectoryEntry, DotEntriesBeginADirectoryCluster) {
  auto sector = sectorWith({test::shortEntryBytes({".", 0x10, 9}), test::shortEntryBytes({"..", 0x10, 0})});
  EXPECT_TRUE(beginsWithDotEntries(ByteView(sector)));
  sector[kEntrySize + 1] = std::byte{'X'};
  EXPECT_FALSE(beginsWithDotEntries(ByteView(sector)));
}

// The long-name walk inside one sector.
struct LongNameCase {
  const char* label;
  std::vector<Bytes> entries;  // from slot 0; the last is the short entry
  std::string expected;
};

class LongNameTest : public testing::TestWithParam<LongNameCase> {};

TEST_P(LongNameTest, WalksBack) {
  const auto& c = GetParam();
  const SectorBuffer sector = sectorWith(c.entries);
  const std::size_t shortAt = (c.entries.size() - 1) * kEntrySize;
  EXPECT_EQ(longNameBefore(ByteView(sector), shortAt, {}), c.expected);
}

const FatEntry kShortReport{"REPORT~1TXT", 0x20, 3, 10};
const FatEntry kShortDeleted{"REPORT~1TXT", 0x20, 3, 10, 0, 0, true};

std::vector<Bytes> strayPieceThenOwnName() {
  auto stray = test::longNameEntryBytes(kShortReport, u"Stray piece!!");
  const auto own = test::longNameEntryBytes(kShortReport, u"Own.txt");
  stray.insert(stray.end(), own.begin(), own.end());
  return withShort(stray, kShortReport);
}

std::vector<Bytes> nulBeforeStrayPiece() {
  auto pieces = test::longNameEntryBytes(kShortReport, u"Short.txt");
  pieces[0][0] = 0x01;  // no last flag
  auto stray = test::longNameEntryBytes(kShortReport, u"Stray piece!!");
  stray[0][0] = 0x02;
  stray.push_back(pieces[0]);
  return withShort(stray, kShortReport);
}

std::vector<Bytes> otherFileBefore() {
  auto entries = test::longNameEntryBytes(kShortReport, u"Other file.txt");
  entries.push_back(test::shortEntryBytes(FatEntry{"OTHERF~1TXT", 0x20, 8}));
  return withShort(entries, kShortReport);
}

const std::vector<LongNameCase> kLongNameCases = {
        LongNameCase{"none", {test::shortEntryBytes(kShortReport)}, ""},
        LongNameCase{"one_piece", withShort(test::longNameEntryBytes(kShortReport, u"Report.txt"), kShortReport),
                     "Report.txt"},
        LongNameCase{"three_pieces",
                     withShort(test::longNameEntryBytes(kShortReport, u"Quarterly report for the board.txt"),
                               kShortReport),
                     "Quarterly report for the board.txt"},
        LongNameCase{"exactly_13_units_no_nul",
                     withShort(test::longNameEntryBytes(kShortReport, u"Thirteen.char"), kShortReport),
                     "Thirteen.char"},
        LongNameCase{"deleted_pieces_all_count",
                     withShort(test::longNameEntryBytes(kShortDeleted, u"Deleted photo of the beach.jpg", true),
                               kShortDeleted),
                     "Deleted photo of the beach.jpg"},
        LongNameCase{"unicode_and_surrogates",
                     withShort(test::longNameEntryBytes(kShortReport, u"\u65E5\u672C\u8A9E \U0001F600.txt"),
                               kShortReport),
                     "\u65E5\u672C\u8A9E \U0001F600.txt"},
        // The piece marked last ends the walk: the pieces before it belong to nobody.
        LongNameCase{"last_flag_ends_walk",
                     strayPieceThenOwnName(),
                     "Own.txt"},
        // A NUL ends the name even without the last flag.
        LongNameCase{"nul_ends_name",
                     nulBeforeStrayPiece(),
                     "Short.txt"},
        LongNameCase{"a_file_entry_ends_walk",
                     otherFileBefore(),
                     ""}};

INSTANTIATE_TEST_SUITE_P(Walks, LongNameTest, testing::ValuesIn(kLongNameCases),
    [](const auto& p) { return std::string(p.param.label); });

TEST(FatLongName, CrossesIntoEarlierSectorsAtTheirLastEntry) {
  // 40 units: 4 pieces; two end sector A, two begin sector B before the short entry.
  const std::u16string name = u"A name long enough to need four pieces..";
  auto pieces = test::longNameEntryBytes(kShortReport, name);
  ASSERT_EQ(pieces.size(), 4u);
  const SectorBuffer sectorA = sectorWith({pieces[0], pieces[1]}, 14);
  const SectorBuffer sectorB = sectorWith({pieces[2], pieces[3], test::shortEntryBytes(kShortReport)});
  std::vector<std::size_t> asked;
  const PreviousSector previous = [&](std::size_t stepsBack) -> std::optional<SectorBuffer> {
    asked.push_back(stepsBack);
    if (stepsBack == 1) return sectorA;
    return std::nullopt;
  };
  EXPECT_EQ(longNameBefore(ByteView(sectorB), 2 * kEntrySize, previous), "A name long enough to need four pieces..");
  EXPECT_EQ(asked, std::vector<std::size_t>{1});
}

TEST(FatLongName, CrossesSeveralSectors) {
  // 20 pieces (255 units) ending at slot 3 of the third sector: 3 + 16 + 1.
  std::u16string name(255, u'x');
  name[0] = u'S';
  name[254] = u'E';
  auto pieces = test::longNameEntryBytes(kShortReport, name);
  ASSERT_EQ(pieces.size(), 20u);
  const SectorBuffer first = sectorWith({pieces[0]}, 15);
  const SectorBuffer middle = sectorWith(std::vector<Bytes>(pieces.begin() + 1, pieces.begin() + 17));
  const SectorBuffer last = sectorWith({pieces[17], pieces[18], pieces[19], test::shortEntryBytes(kShortReport)});
  const PreviousSector previous = [&](std::size_t stepsBack) -> std::optional<SectorBuffer> {
    if (stepsBack == 1) return middle;
    if (stepsBack == 2) return first;
    return std::nullopt;
  };
  const std::string got = longNameBefore(ByteView(last), 3 * kEntrySize, previous);
  EXPECT_EQ(got.size(), 255u);
  EXPECT_EQ(got.front(), 'S');
  EXPECT_EQ(got.back(), 'E');
}

TEST(FatLongName, NoEarlierSectorEndsTheWalk) {
  const SectorBuffer sector = sectorWith({test::shortEntryBytes(kShortReport)});
  const PreviousSector none = [](std::size_t) -> std::optional<SectorBuffer> { return std::nullopt; };
  EXPECT_EQ(longNameBefore(ByteView(sector), 0, none), "");
  EXPECT_EQ(longNameBefore(ByteView(sector), 0, {}), "");
}

TEST(FatLongName, StopsGatheringBeyond255Units) {
  // A sector full of pieces none of which is marked last, and no NUL: the
  // walk would go on through every earlier sector.
  Bytes piece = test::longNameEntryBytes(kShortReport, u"abcdefghijklm")[0];
  piece[0] = 0x05;
  const SectorBuffer pieces = sectorWith(std::vector<Bytes>(16, piece));
  const SectorBuffer last = sectorWith({piece, piece, piece, test::shortEntryBytes(kShortReport)});
  std::size_t calls = 0;
  const PreviousSector previous = [&](std::size_t) -> std::optional<SectorBuffer> {
    ++calls;
    return pieces;
  };
  const std::string got = longNameBefore(ByteView(last), 3 * kEntrySize, previous);
  EXPECT_EQ(got.size(), 20u * 13u);  // the piece that passed 255 is the last one taken
  EXPECT_EQ(calls, 2u);
}

struct DisplayCase {
  const char* label;
  std::string longName;
  std::string shortStored;
  const char* expected;
};

class DisplayNameTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayNameTest, Chooses) {
  const auto& c = GetParam();
  const Bytes bytes = test::shortEntryBytes(FatEntry{c.shortStored});
  EXPECT_EQ(displayName(c.longName, buildShortName(viewOf(bytes))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DisplayNameTest,
    testing::Values(DisplayCase{"short_only", "", "README  TXT", "README.TXT"},
                    DisplayCase{"long_with_extension", "Read me first.txt", "README~1TXT", "Read me first.txt"},
                    DisplayCase{"long_without_extension_gets_short_one", "Makefile", "MAKEFILETXT", "Makefile.TXT"},
                    DisplayCase{"both_without_extension", "Makefile", "MAKEFILE   ", "Makefile"},
                    DisplayCase{"long_extension_kept", "archive.tar", "ARCHIVE GZ ", "archive.tar"}),
    [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace dravel::basic::fat
