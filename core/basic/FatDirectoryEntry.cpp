#include "FatDirectoryEntry.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Text.h"
#include "signature/FileTypes.h"

namespace dravel::basic::fat {

namespace {

// 0x80 to 0x9F; 0xA0 to 0xFF are the code points of the same number.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Where a long-name entry keeps its 13 units: offset and unit count of each run.
constexpr std::array<std::pair<std::size_t, std::size_t>, 3> kLongNameRuns = {{{1, 5}, {14, 6}, {28, 2}}};

constexpr std::string_view kForbiddenInNames = "\"\\/?*<>|:";

// Control characters and the characters Windows refuses in a name never
// occur in a real 8.3 name.
bool forbiddenInName(char32_t cp) {
  if (cp >= 1 && cp <= 31) return true;
  return cp <= 0x7F && kForbiddenInNames.find(static_cast<char>(cp)) != std::string_view::npos;
}

// Appends one name byte (blanks and NULs are padding) and checks it.
void appendNameByte(ShortName& name, std::string& to, std::uint8_t byte) {
  if (byte == ' ' || byte == 0) return;
  const char32_t cp = windows1252ToCodePoint(byte);
  if (forbiddenInName(cp)) name.acceptedBesideLongName = false;
  // The Latin-1 range: in a name without a long one, more likely garbage than a name.
  if (forbiddenInName(cp) || (cp >= 128 && cp <= 255)) name.accepted = false;
  appendUtf8(to, cp);
}

// Appends the entry's units up to a NUL; false when a NUL ended the name.
bool appendLongNamePiece(ByteView entry, std::u16string& units) {
  for (const auto& [offset, count] : kLongNameRuns) {
    for (std::size_t i = 0; i < count; ++i) {
      const auto unit = entry.u16le(offset + 2 * i);
      if (!unit || *unit == 0) return false;
      units.push_back(static_cast<char16_t>(*unit));
    }
  }
  return true;
}

std::string unitsToUtf8(const std::u16string& units) {
  std::vector<std::byte> bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<std::byte>(unit & 0xFF));
    bytes.push_back(static_cast<std::byte>(unit >> 8));
  }
  return utf16leToUtf8(ByteView(bytes));
}

// Systems mark an all-lower-case base or extension with a flag instead of a
// long name; only ASCII letters are ever stored that way.
std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool isDotEntry(ByteView entry) { return entry.matches(0, ".") && entry.matches(3, " "); }

}  // namespace

char32_t windows1252ToCodePoint(std::uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80u];
  return byte;
}

std::optional<std::uint32_t> firstClusterOf(ByteView entry, bool fat32) {
  const auto low = entry.u16le(kDirFstClusLo);
  const auto high = entry.u16le(kDirFstClusHi);
  if (!low || !high) return std::nullopt;
  return fat32 ? (static_cast<std::uint32_t>(*high) << 16 | *low) : *low;
}

bool beginsWithDotEntries(ByteView sector) { return sector.matches(0, ". ") && sector.matches(kEntrySize, ".. "); }

ShortName buildShortName(ByteView entry) {
  ShortName out;
  if (!entry.contains(0, kEntrySize)) return out;
  out.accepted = true;
  out.acceptedBesideLongName = true;
  for (std::size_t i = 0; i < kNameLength; ++i) {
    std::uint8_t byte = *entry.u8(kDirName + i);
    if (i == 0 && byte == kDeletedMarker) byte = '_';
    appendNameByte(out, out.text, byte);
  }
  for (std::size_t i = 0; i < kExtLength; ++i) appendNameByte(out, out.extension, *entry.u8(kDirExt + i));
  const std::uint8_t caseFlags = *entry.u8(kDirCaseFlags);
  out.shown = (caseFlags & kLowerCaseBase) != 0 ? lowerAscii(out.text) : out.text;
  if (!out.extension.empty()) {
    out.text += "." + out.extension;
    out.shown += "." + ((caseFlags & kLowerCaseExtension) != 0 ? lowerAscii(out.extension) : out.extension);
  }
  return out;
}

std::optional<DirectoryEntry> decodeEntry(ByteView entry, bool fat32) {
  if (!entry.contains(0, kEntrySize)) return std::nullopt;
  DirectoryEntry e;
  const std::uint8_t first = *entry.u8(kDirName);
  e.attributes = *entry.u8(kDirAttr);
  e.firstCluster = *firstClusterOf(entry, fat32);
  e.time = *entry.u16le(kDirWrtTime);
  e.date = *entry.u16le(kDirWrtDate);
  e.size = *entry.u32le(kDirFileSize);
  e.deleted = first == kDeletedMarker;
  if (first == kEndMarker) {
    e.kind = EntryKind::End;
  } else if (isDotEntry(entry)) {
    e.kind = EntryKind::Dot;
  } else if (e.attributes == kAttrLongName) {
    e.kind = EntryKind::LongName;
  } else {
    e.kind = (e.attributes & kAttrDirectory) != 0 ? EntryKind::Directory : EntryKind::File;
    e.volumeLabel = (e.attributes & kAttrVolumeLabel) != 0;
    e.shortName = buildShortName(entry);
  }
  return e;
}

std::string longNameBefore(ByteView sector, std::size_t entryOffset, const PreviousSector& previous) {
  std::u16string units;
  std::optional<SectorBuffer> earlier;  // the sector the walk crossed into, kept alive for `current`
  ByteView current = sector;
  std::size_t offset = entryOffset;
  std::size_t stepsBack = 0;
  // Every pass adds 13 units or ends the walk, so it ends after at most 20 entries.
  for (;;) {
    if (offset < kEntrySize) {
      if (!previous) break;
      earlier = previous(++stepsBack);
      if (!earlier) break;
      current = ByteView(*earlier);
      offset = kLastEntryOffset;
    } else {
      offset -= kEntrySize;
    }
    const auto entry = current.sub(offset, kEntrySize);
    if (!entry || *entry->u8(kDirAttr) != kAttrLongName) break;
    const bool nameGoesOn = appendLongNamePiece(*entry, units);
    // A deleted piece's order byte is 0xE5, whose 0x40 bit says nothing: the
    // walk goes on to the pieces before it.
    const std::uint8_t order = *entry->u8(kLdirOrd);
    const bool lastPiece = order != kDeletedMarker && (order & kLastLongEntryFlag) != 0;
    if (!nameGoesOn || lastPiece || units.size() > kLongNameMaxUnits) break;
  }
  return unitsToUtf8(units);
}

std::string displayName(const std::string& longName, const ShortName& shortName) {
  if (longName.empty()) return shortName.shown;
  if (signature::extensionOf(longName).empty() && !shortName.extension.empty()) {
    return longName + "." + shortName.extension;
  }
  return longName;
}

}  // namespace dravel::basic::fat
