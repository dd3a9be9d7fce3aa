#include "FileSystemRecognition.h"

#include "common/Text.h"
#include "ondisk/BootSector.h"

namespace dravel::partitions {

BootMark recogniseBootSector(ByteView sector) {
  if (sector.matches(ondisk::kFat32TypeOffset, "FAT32")) return BootMark::Fat32;
  if (sector.matches(ondisk::kFat16TypeOffset, "FAT16")) return BootMark::Fat16;
  if (sector.matches(ondisk::kNtfsOemOffset, "NTFS")) return BootMark::Ntfs;
  if (sector.matches(0, "EFI")) return BootMark::GptHeader;
  return BootMark::None;
}

std::string bootMarkName(BootMark mark) {
  switch (mark) {
    case BootMark::Fat32:
      return "FAT32";
    case BootMark::Fat16:
      return "FAT16";
    case BootMark::Ntfs:
      return "NTFS";
    case BootMark::None:
    case BootMark::GptHeader:
      break;
  }
  return {};
}

std::string normaliseFileSystemName(std::string_view text) {
  const std::string_view t = trimView(text);
  if (containsText(t, "FAT16") || t == "FAT") return "FAT16";
  if (containsText(t, "FAT32")) return "FAT32";
  if (containsText(t, "NTFS")) return "NTFS";
  return "Unknown";
}

std::string guessFileSystemBySize(std::uint64_t firstSector, std::uint64_t endSector) {
  if (endSector <= firstSector) return "Unknown";
  const std::uint64_t size = endSector - firstSector;
  if (size / (1u << 21) < 35) return size >= 2048 ? "FAT32" : "Unknown";
  return "NTFS";
}

}  // namespace dravel::partitions
