#include <gtest/gtest.h>

#include "ondisk/Sector.h"
#include "partitions/FileSystemRecognition.h"

namespace dravel::partitions {
namespace {

TEST(NormaliseFileSystemName, MapsPlatformAndItemNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"FAT", "FAT16"},          {" FAT16 ", "FAT16"},   {"Partition - 2 ( FAT16 )", "FAT16"},
      {"FAT32", "FAT32"},        {"Partition - 1 ( FAT32 )", "FAT32"},
      {"NTFS", "NTFS"},          {"FATX", "Unknown"},    {"exFAT", "Unknown"},
      {"", "Unknown"},           {"fat32", "Unknown"},  // names are compared as the platform writes them
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(normaliseFileSystemName(text), expected) << text;
}

TEST(GuessFileSystemBySize, SplitsAt35GiBAndNeedsOneMiB) {
  constexpr std::uint64_t kGiB = 1u << 21;  // sectors
  struct Case {
    std::uint64_t first, end;
    const char* expected;
  };
  const Case cases[] = {
      {0, 2047, "Unknown"},          {0, 2048, "FAT32"},         {63, 63 + 2048, "FAT32"},
      {0, 35 * kGiB - 1, "FAT32"},   {0, 35 * kGiB, "NTFS"},     {100, 100, "Unknown"},
      {500, 100, "Unknown"},  // an inverted range must not wrap into a huge size
  };
  for (const auto& c : cases) EXPECT_EQ(guessFileSystemBySize(c.first, c.end), c.expected) << c.first << ".." << c.end;
}

TEST(RecogniseBootSector, ChecksTheMarksInOrder) {
  SectorBuffer sector{};
  const auto put = [&](std::size_t offset, const char* text) {
    for (std::size_t i = 0; text[i] != '\0'; ++i) sector[offset + i] = static_cast<std::byte>(text[i]);
  };
  EXPECT_EQ(recogniseBootSector(ByteView(sector)), BootMark::None);
  put(0, "EFI PART");
  EXPECT_EQ(recogniseBootSector(ByteView(sector)), BootMark::GptHeader);
  put(3, "NTFS    ");
  EXPECT_EQ(recogniseBootSector(ByteView(sector)), BootMark::Ntfs);
  put(0x36, "FAT16   ");
  EXPECT_EQ(recogniseBootSector(ByteView(sector)), BootMark::Fat16);
  put(0x52, "FAT32   ");
  EXPECT_EQ(recogniseBootSector(ByteView(sector)), BootMark::Fat32);
  // FAT12 is not one of the recognised systems.
  SectorBuffer fat12{};
  for (std::size_t i = 0; i < 5; ++i) fat12[0x36 + i] = static_cast<std::byte>("FAT12"[i]);
  EXPECT_EQ(recogniseBootSector(ByteView(fat12)), BootMark::None);
  // A buffer cut inside the FAT32 mark is not read past its end: the mark is
  // not there, so the next one counts.
  EXPECT_EQ(recogniseBootSector(ByteView(std::span(sector).first(0x53))), BootMark::Fat16);
}

}  // namespace
}  // namespace dravel::partitions
