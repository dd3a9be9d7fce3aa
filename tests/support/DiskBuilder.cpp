#include "DiskBuilder.h"

#include <fstream>
#include <stdexcept>

namespace dravel::test {

DiskBuilder::DiskBuilder(std::uint64_t sectors) : m_bytes(sectors * 512) {}

void DiskBuilder::put8(std::uint64_t offset, std::uint8_t value) {
  if (offset >= m_bytes.size()) throw std::out_of_range("DiskBuilder: write past the disk");
  m_bytes[offset] = static_cast<std::byte>(value);
}

void DiskBuilder::put16(std::uint64_t offset, std::uint16_t value) {
  for (int i = 0; i < 2; ++i) put8(offset + static_cast<std::uint64_t>(i), static_cast<std::uint8_t>(value >> (8 * i)));
}

void DiskBuilder::put32(std::uint64_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) put8(offset + static_cast<std::uint64_t>(i), static_cast<std::uint8_t>(value >> (8 * i)));
}

void DiskBuilder::put64(std::uint64_t offset, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) put8(offset + static_cast<std::uint64_t>(i), static_cast<std::uint8_t>(value >> (8 * i)));
}

void DiskBuilder::putText(std::uint64_t offset, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) put8(offset + i, static_cast<std::uint8_t>(text[i]));
}

void DiskBuilder::zeroSector(std::uint64_t sector) {
  for (std::uint64_t i = 0; i < 512; ++i) put8(sector * 512 + i, 0);
}

void DiskBuilder::signature(std::uint64_t sector) {
  put8(sector * 512 + 510, 0x55);
  put8(sector * 512 + 511, 0xAA);
}

void DiskBuilder::mbrEntry(std::uint64_t tableSector, int index, std::uint8_t type, std::uint32_t first,
                           std::uint32_t count) {
  const std::uint64_t e = tableSector * 512 + 0x1BE + static_cast<std::uint64_t>(index) * 16;
  put8(e + 4, type);
  put32(e + 8, first);
  put32(e + 12, count);
  signature(tableSector);
}

void DiskBuilder::fatCommon(std::uint64_t sector, const FatLayout& l) {
  const std::uint64_t b = sector * 512;
  put8(b, 0xEB);
  put8(b + 1, 0x58);
  put8(b + 2, 0x90);
  putText(b + 3, "MSWIN4.1");
  put16(b + 0x0B, 512);
  put8(b + 0x0D, l.sectorsPerCluster);
  put16(b + 0x0E, l.reserved);
  put8(b + 0x10, 2);
  put8(b + 0x15, 0xF8);
  put32(b + 0x20, l.totalSectors);
  signature(sector);
}

void DiskBuilder::fat16(std::uint64_t sector, const FatLayout& l) {
  fatCommon(sector, l);
  const std::uint64_t b = sector * 512;
  put16(b + 0x11, l.rootEntries);
  put16(b + 0x16, static_cast<std::uint16_t>(l.sectorsPerFat));
  put8(b + 0x26, 0x29);
  put32(b + 0x27, l.volumeId);
  putText(b + 0x2B, (l.label + "           ").substr(0, 11));
  putText(b + 0x36, "FAT16   ");
  if (l.writeFatMedia) {
    put8((sector + l.reserved) * 512, 0xF8);
    put8((sector + l.reserved + l.sectorsPerFat) * 512, 0xF8);
  }
}

void DiskBuilder::fat32(std::uint64_t sector, const FatLayout& l, bool withBackup) {
  fatCommon(sector, l);
  const std::uint64_t b = sector * 512;
  put32(b + 0x24, l.sectorsPerFat);
  put32(b + 0x2C, l.rootCluster);
  put16(b + 0x30, 1);
  put16(b + 0x32, 6);
  put8(b + 0x42, 0x29);
  put32(b + 0x43, l.volumeId);
  putText(b + 0x47, (l.label + "           ").substr(0, 11));
  putText(b + 0x52, "FAT32   ");
  if (withBackup) {
    for (std::uint64_t i = 0; i < 512; ++i) m_bytes[(sector + 6) * 512 + i] = m_bytes[b + i];
  }
  if (l.writeFatMedia) {
    put8((sector + l.reserved) * 512, 0xF8);
    put8((sector + l.reserved + l.sectorsPerFat) * 512, 0xF8);
  }
}

void DiskBuilder::ntfs(std::uint64_t sector, const NtfsLayout& l, bool withBackup) {
  const std::uint64_t b = sector * 512;
  put8(b, 0xEB);
  put8(b + 1, 0x52);
  put8(b + 2, 0x90);
  putText(b + 3, "NTFS    ");
  put16(b + 0x0B, 512);
  put8(b + 0x0D, l.sectorsPerCluster);
  put8(b + 0x15, 0xF8);
  put64(b + 0x28, l.totalSectors);
  put64(b + 0x30, l.mftCluster);
  put64(b + 0x38, l.mftMirrorCluster);
  put8(b + 0x40, static_cast<std::uint8_t>(l.clustersPerRecord));
  put8(b + 0x44, static_cast<std::uint8_t>(l.clustersPerIndex));
  put64(b + 0x48, l.serial);
  signature(sector);
  if (withBackup && l.totalSectors != 0) {
    for (std::uint64_t i = 0; i < 512; ++i) m_bytes[(sector + l.totalSectors) * 512 + i] = m_bytes[b + i];
  }
  if (l.writeMftRecords) {
    putText((sector + l.mftCluster * l.sectorsPerCluster) * 512, "FILE");
    putText((sector + l.mftMirrorCluster * l.sectorsPerCluster) * 512, "FILE");
  }
}

void DiskBuilder::gptProtective() {
  mbrEntry(0, 0, ondisk::kTypeGptProtective, 1, static_cast<std::uint32_t>(std::min<std::uint64_t>(sectors() - 1, 0xFFFFFFFF)));
  putText(512, "EFI PART");
  put32(512 + 8, 0x00010000);
  put32(512 + 12, 92);
  put64(512 + 0x18, 1);
  put64(512 + 0x20, sectors() - 1);
  put64(512 + 0x48, 2);
  put32(512 + 0x50, 128);
  put32(512 + 0x54, 128);
}

void DiskBuilder::gptEntry(int index, const ondisk::Guid& type, std::uint64_t firstLba, std::uint64_t lastLba) {
  const std::uint64_t e = 2 * 512 + static_cast<std::uint64_t>(index) * 128;
  for (std::size_t i = 0; i < 16; ++i) put8(e + i, type.bytes[i]);
  put8(e + 16, 0xA5);  // a unique partition GUID that is not zero
  put64(e + 32, firstLba);
  put64(e + 40, lastLba);
}

void DiskBuilder::writeTo(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(m_bytes.data()), static_cast<std::streamsize>(m_bytes.size()));
  if (!out) throw std::runtime_error("DiskBuilder: cannot write " + file.string());
}

}  // namespace dravel::test
