// One NTFS file record taken apart: the recovery fix-up, the attribute walk,
// file names, attribute-list references and the data size, each against
// the damage a deleted or corrupt record brings.

#include <gtest/gtest.h>

#include <cstring>

#include "ondisk/MftAttributeList.h"
#include "ondisk/MftFileName.h"
#include "ondisk/MftRecord.h"
#include "support/NtfsImage.h"

namespace dravel::ondisk {
namespace {

using test::MftRecordBuilder;

void put16(std::vector<std::byte>& r, std::size_t offset, std::uint16_t v) {
  r[offset] = static_cast<std::byte>(v & 0xFF);
  r[offset + 1] = static_cast<std::byte>(v >> 8);
}

void put32(std::vector<std::byte>& r, std::size_t offset, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) r[offset + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
}

std::uint16_t get16(const std::vector<std::byte>& r, std::size_t offset) { return *ByteView(r).u16le(offset); }

std::vector<Attribute> walk(const std::vector<std::byte>& r) { return recordAttributes(ByteView(r)); }

// The test builder keeps the array at 0x30 and the sequence number 7.
constexpr std::size_t kUsa = 0x30;

TEST(RestoreUpdateSequence, RestoresEverySectorEvenWhenATailIsTorn) {
  auto r = MftRecordBuilder().fileName(5, u"a.txt").residentData(600).build();
  put16(r, 1022, 0xBEEF);  // the second sector was not written with the first
  const std::uint16_t savedFirst = get16(r, kUsa + 2);
  const std::uint16_t savedSecond = get16(r, kUsa + 4);
  ASSERT_TRUE(restoreUpdateSequence(r));
  EXPECT_EQ(get16(r, 510), savedFirst);
  EXPECT_EQ(get16(r, 1022), savedSecond);
  // The strict form refuses the same record.
  auto strict = MftRecordBuilder().fileName(5, u"a.txt").residentData(600).build();
  put16(strict, 1022, 0xBEEF);
  EXPECT_FALSE(applyFixup(strict));
}

TEST(RestoreUpdateSequence, RestoresOnlyTheSectorsTheBufferHolds) {
  auto r = MftRecordBuilder().fileName(5, u"a.txt").build();
  put16(r, 6, 9);  // eight sectors claimed, two present; the array still fits
  const std::uint16_t savedSecond = get16(r, kUsa + 4);
  ASSERT_TRUE(restoreUpdateSequence(r));
  EXPECT_EQ(get16(r, 1022), savedSecond);
}

TEST(RestoreUpdateSequence, LeavesTheRecordAloneWhenTheArrayLiesOutside) {
  for (const std::uint16_t offset : {std::uint16_t{1022}, std::uint16_t{0xFFFF}}) {
    auto r = MftRecordBuilder().fileName(5, u"a.txt").build();
    put16(r, 4, offset);
    const auto before = r;
    EXPECT_FALSE(restoreUpdateSequence(r)) << offset;
    EXPECT_EQ(r, before);
  }
}

TEST(RecordAttributes, EndsAtBadLengthsAndTypeZero) {
  // A name, then an attribute whose header is damaged, then a second name
  // that must not be reached.
  struct Case {
    const char* what;
    std::uint32_t type;
    std::uint32_t length;
  };
  for (const Case c : {Case{"length 0", 0x80, 0}, Case{"length beyond the record", 0x80, 2000},
                       Case{"length under a header", 0x80, 8}, Case{"type 0", 0, 24}}) {
    auto r = MftRecordBuilder().fileName(5, u"first").residentData(8).fileName(5, u"second", 2).build();
    const auto attrs = walk(r);
    ASSERT_EQ(attrs.size(), 3u);
    const std::size_t second = static_cast<std::size_t>(attrs[1].whole.bytes().data() - ByteView(r).bytes().data());
    put32(r, second, c.type);
    put32(r, second + 4, c.length);
    EXPECT_EQ(walk(r).size(), 1u) << c.what;
  }
}

TEST(RecordAttributes, WalksPastAStaleBytesInUseField) {
  auto r = MftRecordBuilder().fileName(5, u"a.txt").build();
  put32(r, 0x18, 0);
  EXPECT_EQ(walk(r).size(), 1u);
  EXPECT_TRUE(attributes(ByteView(r)).empty());  // the volume-label reader keeps the strict walk
}

TEST(FileNames, AreCutToTheirAttribute) {
  test::FileNameFields fields;
  fields.name = u"short";
  fields.declaredLength = 200;  // the value holds five units
  const auto r = MftRecordBuilder().fileName(fields).residentData(300).build();
  const auto name = findFileName(walk(r), kNameSpaceWin32);
  ASSERT_TRUE(name);
  EXPECT_EQ(name->name, "short");
}

TEST(FileNames, ValueShorterThanItsFixedPartHasNoName) {
  std::vector<std::uint8_t> value(40, 0);
  EXPECT_FALSE(parseFileName(ByteView(std::as_bytes(std::span(value)))));
  std::vector<std::uint8_t> empty(66, 0);
  EXPECT_FALSE(parseFileName(ByteView(std::as_bytes(std::span(empty)))));  // a name of length 0
}

TEST(FileNames, CarryParentTimeAndUnicode) {
  test::FileNameFields fields;
  fields.parent = 0x1234;
  fields.sequence = 0x77;  // the reference's sequence number is not part of the parent
  fields.name = u"\u0420\u0435\u0437 \U0001F600.txt";
  const auto r = MftRecordBuilder().fileName(fields).build();
  const auto name = findFileName(walk(r), kNameSpaceWin32);
  ASSERT_TRUE(name);
  EXPECT_EQ(name->parent, 0x1234u);
  EXPECT_EQ(name->creationTime, test::kSampleFileTime);
  EXPECT_EQ(name->name, "\xD0\xA0\xD0\xB5\xD0\xB7 \xF0\x9F\x98\x80.txt");
}

TEST(FileNames, ByNameSpace) {
  const auto r = MftRecordBuilder().fileName(5, u"LONGNA~1.TXT", kNameSpaceDos).fileName(5, u"long name.txt").build();
  const auto names = namesBySpace(walk(r));
  ASSERT_TRUE(names[0]);
  EXPECT_EQ(names[0]->name, "long name.txt");
  EXPECT_FALSE(names[1]);
  ASSERT_TRUE(names[2]);
  EXPECT_EQ(names[2]->name, "LONGNA~1.TXT");
  EXPECT_FALSE(names[3]);
}

TEST(RecordReferences, OwnIndexThenEachListedRecordOnce) {
  const auto r = MftRecordBuilder().attributeList({{0x10, 40}, {0x30, 41}, {0x30, 40}, {0x80, 42}, {0x80, 41}}).build();
  EXPECT_EQ(recordReferences(walk(r), 40), (std::vector<std::uint64_t>{40, 41, 42}));
}

TEST(RecordReferences, EndAtABadEntry) {
  struct Case {
    const char* what;
    std::size_t field;  // offset in the second entry
    std::uint32_t value;
    std::size_t bytes;
  };
  for (const Case c : {Case{"type 0", 0, 0, 4}, Case{"type 0xFFFFFFFF", 0, 0xFFFFFFFF, 4}, Case{"length 0", 4, 0, 2},
                       Case{"length under the reference", 4, 20, 2}}) {
    auto r = MftRecordBuilder().attributeList({{0x30, 41}, {0x30, 42}, {0x30, 43}}).build();
    const auto list = walk(r).at(0);
    const auto value = static_cast<std::size_t>(list.resident->bytes().data() - ByteView(r).bytes().data());
    if (c.bytes == 4) {
      put32(r, value + 32 + c.field, c.value);
    } else {
      put16(r, value + 32 + c.field, static_cast<std::uint16_t>(c.value));
    }
    EXPECT_EQ(recordReferences(walk(r), 40), (std::vector<std::uint64_t>{40, 41})) << c.what;
  }
}

TEST(RecordReferences, AnEntryRunningPastTheListEndsIt) {
  auto r = MftRecordBuilder().attributeList({{0x30, 41}, {0x30, 42}}).build();
  const auto list = walk(r).at(0);
  const auto value = static_cast<std::size_t>(list.resident->bytes().data() - ByteView(r).bytes().data());
  put16(r, value + 4, 0xFFF0);
  EXPECT_EQ(recordReferences(walk(r), 40), (std::vector<std::uint64_t>{40, 41}));
}

TEST(RecordReferences, NonResidentListIsNotFollowed) {
  auto r = MftRecordBuilder()
               .raw([] {
                 std::vector<std::uint8_t> a(72, 0);
                 a[0] = 0x20;
                 a[4] = 72;
                 a[8] = 1;  // non-resident
                 a[32] = 64;
                 return a;
               }())
               .build();
  EXPECT_EQ(recordReferences(walk(r), 9), (std::vector<std::uint64_t>{9}));
}

struct SizeCase {
  const char* what;
  MftRecordBuilder record;
  std::optional<std::uint64_t> size;
};

TEST(DataSize, FromTheFirstUnnamedStream) {
  const std::vector<std::uint8_t> pairs = test::encodeRuns({{100, 3}});
  const SizeCase cases[] = {
      {"resident", MftRecordBuilder().fileName(5, u"a").residentData(350), 350},
      {"resident empty", MftRecordBuilder().fileName(5, u"a").residentData(0), 0},
      {"non-resident", MftRecordBuilder().nonResidentData(1'500'000, pairs), 1'500'000},
      {"named streams only", MftRecordBuilder().residentData(50, u"Zone.Identifier"), std::nullopt},
      {"named stream first", MftRecordBuilder().residentData(50, u"Zone.Identifier").nonResidentData(9000, pairs),
       9000},
      {"a later part of the stream", MftRecordBuilder().nonResidentData(0, pairs, {}, 16), std::nullopt},
      {"no data", MftRecordBuilder().fileName(5, u"a"), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(dataSize(walk(c.record.build())), c.size) << c.what;
}

}  // namespace
}  // namespace dravel::ondisk
