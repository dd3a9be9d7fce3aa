#pragma once
// One 32-byte FAT directory entry as the Basic Search reads it: what kind of
// entry it is, its first cluster, date, time and size, its 8.3 name and
// whether that name is one the search lists, and the long name the entries
// before it spell. Pure functions over bytes from the medium.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/ByteView.h"
#include "ondisk/Sector.h"

namespace dravel::basic::fat {

inline constexpr std::size_t kEntrySize = 32;
inline constexpr std::size_t kEntriesPerSector = kSectorSize / kEntrySize;
inline constexpr std::size_t kLastEntryOffset = kSectorSize - kEntrySize;  // 480

// Field offsets of a short entry.
inline constexpr std::size_t kDirName = 0;        // 8 bytes, space padded
inline constexpr std::size_t kDirExt = 8;         // 3 bytes, space padded
inline constexpr std::size_t kDirAttr = 11;
inline constexpr std::size_t kDirFstClusHi = 20;  // FAT32 only
inline constexpr std::size_t kDirWrtTime = 22;
inline constexpr std::size_t kDirWrtDate = 24;
inline constexpr std::size_t kDirFstClusLo = 26;
inline constexpr std::size_t kDirFileSize = 28;
inline constexpr std::size_t kNameLength = 8;
inline constexpr std::size_t kExtLength = 3;

// Long-name entry: the order byte and the three runs of UTF-16LE units.
inline constexpr std::size_t kLdirOrd = 0;
inline constexpr std::uint8_t kLastLongEntryFlag = 0x40;
inline constexpr std::size_t kLongNameUnitsPerEntry = 13;
inline constexpr std::size_t kLongNameMaxUnits = 255;

inline constexpr std::uint8_t kEndMarker = 0x00;
inline constexpr std::uint8_t kDeletedMarker = 0xE5;
inline constexpr std::uint8_t kAttrVolumeLabel = 0x08;
inline constexpr std::uint8_t kAttrDirectory = 0x10;
inline constexpr std::uint8_t kAttrLongName = 0x0F;

enum class EntryKind {
  End,        // first byte 0: the directory (or, in a FAT16 root sector, the sector) ends
  Dot,        // "." or ".."
  LongName,   // a piece of a long name
  Directory,  // a subfolder, deleted or not
  File,       // everything else, volume labels included
};

inline constexpr std::size_t kDirCaseFlags = 12;  // lower-case marks of an 8.3-only name
inline constexpr std::uint8_t kLowerCaseBase = 0x08;
inline constexpr std::uint8_t kLowerCaseExtension = 0x10;

struct ShortName {
  std::string text;       // "README.TXT" in UTF-8; "_EADME.TXT" when deleted
  // The same with the entry's lower-case marks applied ("readme.txt"): the
  // name the writing system showed for a name it kept in an 8.3 entry only.
  std::string shown;
  std::string extension;  // "TXT", without the dot; empty when there is none
  // The name check: no control character, none of " \ / ? * < > | :, and
  // no character from 128 to 255 after the conversion.
  bool accepted = false;
  // The same without the last rule, for an entry that has a long name: its
  // 8.3 alias is written in the writer's OEM code page, so a name with
  // accents has bytes there that Windows-1252 maps to 128-255, while a
  // real alias never holds a control or forbidden character.
  bool acceptedBesideLongName = false;
};

struct DirectoryEntry {
  EntryKind kind = EntryKind::End;
  bool deleted = false;      // first byte 0xE5
  bool volumeLabel = false;  // attribute 0x08 (not a long-name piece)
  std::uint8_t attributes = 0;
  std::uint32_t firstCluster = 0;  // FAT16: low word only; FAT32: high × 65536 + low
  std::uint16_t date = 0;
  std::uint16_t time = 0;
  std::uint32_t size = 0;
  ShortName shortName;  // built for Directory and File entries only
};

// nullopt when the view holds fewer than 32 bytes.
[[nodiscard]] std::optional<DirectoryEntry> decodeEntry(ByteView entry, bool fat32);

// The first cluster an entry names, by the width rule of the file system.
[[nodiscard]] std::optional<std::uint32_t> firstClusterOf(ByteView entry, bool fat32);

// True when the sector begins with a "." entry followed by a ".." entry: the
// first sector of a directory's first cluster.
[[nodiscard]] bool beginsWithDotEntries(ByteView sector);

// The 8.3 name of an entry, built and checked. The bytes are read as
// Windows-1252: the program cannot know the code page of the machine that
// wrote the disk, and a fixed one makes a listing repeatable anywhere.
[[nodiscard]] ShortName buildShortName(ByteView entry);

// Windows-1252 byte to code point; the five bytes the code page leaves
// undefined map to the C1 control of the same number (0x81 → U+0081).
[[nodiscard]] char32_t windows1252ToCodePoint(std::uint8_t byte);

// Gives the directory sector `stepsBack` sectors before the one being read
// (1 = the sector just before), or nullopt when the directory has none.
using PreviousSector = std::function<std::optional<SectorBuffer>(std::size_t stepsBack)>;

// The long name spelled by the long-name entries before the short entry at
// `entryOffset` of `sector`, in UTF-8; empty when there are none. The
// checksum is not examined, and deleted pieces count like live ones, so
// deleted files keep their long names.
[[nodiscard]] std::string longNameBefore(ByteView sector, std::size_t entryOffset, const PreviousSector& previous);

// The name a listing shows: the long name, with the 8.3 extension appended
// when the long name has none; the 8.3 name (lower-case marks applied) when
// there is no long name.
[[nodiscard]] std::string displayName(const std::string& longName, const ShortName& shortName);

}  // namespace dravel::basic::fat
