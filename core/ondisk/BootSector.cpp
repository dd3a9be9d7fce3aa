#include "BootSector.h"

#include "ondisk/Sector.h"

namespace dravel::ondisk {

std::optional<FatBootSector> parseFatBootSector(ByteView sector) {
  if (sector.size() < kSectorSize) return std::nullopt;
  FatBootSector b;
  b.bytesPerSector = *sector.u16le(0x0B);
  b.sectorsPerCluster = *sector.u8(0x0D);
  b.reservedSectors = *sector.u16le(0x0E);
  b.fatCount = *sector.u8(0x10);
  b.rootEntries = *sector.u16le(0x11);
  b.totalSectors16 = *sector.u16le(0x13);
  b.media = *sector.u8(0x15);
  b.sectorsPerFat16 = *sector.u16le(0x16);
  b.hiddenSectors = *sector.u32le(0x1C);
  b.totalSectors32 = *sector.u32le(0x20);
  b.sectorsPerFat32 = *sector.u32le(0x24);
  b.rootCluster = *sector.u32le(0x2C);
  b.fsInfoSector = *sector.u16le(0x30);
  b.backupBootSector = *sector.u16le(0x32);
  b.isFat32Layout = sector.matches(kFat32TypeOffset, "FAT32");
  const std::size_t ebr = b.isFat32Layout ? 0x42 : 0x26;
  b.extendedSignature = *sector.u8(ebr);
  b.volumeId = *sector.u32le(ebr + 1);
  b.volumeLabel = std::string(sector.chars(ebr + 5, 11));
  b.fileSystemType = std::string(sector.chars(ebr + 16, 8));
  return b;
}

std::optional<NtfsBootSector> parseNtfsBootSector(ByteView sector) {
  if (sector.size() < kSectorSize) return std::nullopt;
  NtfsBootSector b;
  b.bytesPerSector = *sector.u16le(0x0B);
  b.sectorsPerCluster = *sector.u8(0x0D);
  b.totalSectors = *sector.u64le(0x28);
  b.mftCluster = *sector.u64le(0x30);
  b.mftMirrorCluster = *sector.u64le(0x38);
  b.clustersPerFileRecord = *sector.i8(0x40);
  b.clustersPerIndexBlock = *sector.i8(0x44);
  b.serialNumber = *sector.u64le(0x48);
  return b;
}

std::uint32_t ntfsSectorsPerCluster(std::uint8_t raw) {
  if (raw == 0) return 0;
  if (raw <= 0x80) return raw;
  const int shift = 256 - raw;
  return shift <= 16 ? (1u << shift) : 0;
}

std::uint32_t ntfsUnitSectors(std::int8_t value, std::uint32_t sectorsPerCluster) {
  if (value < 0) {
    const int shift = -value;
    if (shift < 9 || shift > 24) return 0;  // below a sector or absurdly large
    return (1u << shift) / kSectorSize;
  }
  return static_cast<std::uint32_t>(value) * sectorsPerCluster;
}

}  // namespace dravel::ondisk
