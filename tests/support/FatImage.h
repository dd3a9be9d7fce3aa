#pragma once
// Builds FAT16 and FAT32 volumes inside a DiskBuilder disk, structure by
// structure: the boot sector, FAT entries, directory clusters with their
// "." and ".." entries, and directory entries with or without long names.
// Tests write exactly the damage they check.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DiskBuilder.h"

namespace dravel::test {

// One short directory entry as stored.
struct FatEntry {
  std::string name;        // 11 bytes as stored, "README  TXT"; shorter is padded with spaces
  std::uint8_t attr = 0x20;
  std::uint32_t cluster = 0;
  std::uint32_t size = 0;
  std::uint16_t date = 0x5A67;  // 2025-03-07
  std::uint16_t time = 0x6000;  // 12:00:00
  bool deleted = false;         // first byte 0xE5
};

class FatImage {
 public:
  // Lays out the volume at `firstSector`; `writeBoot` false leaves the boot
  // sector (and the FAT32 backup) zero, as on a damaged disk.
  FatImage(DiskBuilder& disk, std::uint64_t firstSector, const FatLayout& layout, bool fat32, bool writeBoot = true);

  [[nodiscard]] DiskBuilder& disk() { return m_disk; }
  [[nodiscard]] bool fat32() const { return m_fat32; }
  [[nodiscard]] std::uint64_t firstSector() const { return m_first; }
  [[nodiscard]] std::uint64_t firstFat() const { return m_firstFat; }
  [[nodiscard]] std::uint64_t cluster0() const { return m_cluster0; }
  [[nodiscard]] std::uint32_t spc() const { return m_spc; }
  [[nodiscard]] std::uint64_t clusterSector(std::uint32_t cluster) const { return m_cluster0 + std::uint64_t{cluster} * m_spc; }
  // The root directory's sectors: the FAT16 root area, or the root cluster's.
  [[nodiscard]] std::vector<std::uint64_t> rootSectors() const;
  // All sectors of the given clusters, in order.
  [[nodiscard]] std::vector<std::uint64_t> sectorsOf(const std::vector<std::uint32_t>& clusters) const;

  // FAT entry `cluster` in both FATs.
  void setFat(std::uint32_t cluster, std::uint32_t value);
  // Links the clusters in order and ends the chain after the last.
  void chain(const std::vector<std::uint32_t>& clusters);
  // "." and ".." at the start of the cluster, marked in the FAT as a chain of one.
  void directoryCluster(std::uint32_t cluster, std::uint32_t parent, std::uint16_t date = 0x5A67,
                        std::uint16_t time = 0x6000);
  // The raw 32 bytes at entry `index` of `sector`.
  void entryAt(std::uint64_t sector, std::size_t index, const FatEntry& entry);

 private:
  DiskBuilder& m_disk;
  bool m_fat32;
  std::uint64_t m_first;
  std::uint32_t m_spc;
  std::uint32_t m_spf;
  std::uint64_t m_firstFat;
  std::uint64_t m_rootStart;  // FAT16 root area
  std::uint32_t m_rootSectors;
  std::uint32_t m_rootCluster;
  std::uint64_t m_cluster0;
};

// Writes entries one after another into a directory's sectors: slot i is
// entry i % 16 of sector i / 16.
class DirectoryWriter {
 public:
  DirectoryWriter(FatImage& image, std::vector<std::uint64_t> sectors, std::size_t firstSlot = 0)
      : m_image(image), m_sectors(std::move(sectors)), m_slot(firstSlot) {}

  void add(const FatEntry& entry);
  // The long-name pieces (last piece first), then the short entry. The
  // pieces are marked deleted (order byte 0xE5) when `deletedPieces` is set.
  void add(const FatEntry& entry, const std::u16string& longName, bool deletedPieces = false);
  void skip(std::size_t slots) { m_slot += slots; }
  // An end marker (all zeros) at the next slot.
  void end();
  [[nodiscard]] std::size_t slot() const { return m_slot; }

 private:
  void put(const std::vector<std::uint8_t>& bytes);

  FatImage& m_image;
  std::vector<std::uint64_t> m_sectors;
  std::size_t m_slot;
};

// The 32 bytes of a short entry.
[[nodiscard]] std::vector<std::uint8_t> shortEntryBytes(const FatEntry& entry);
// The long-name entries that precede the short entry, in disk order (the
// piece with the name's end first).
[[nodiscard]] std::vector<std::vector<std::uint8_t>> longNameEntryBytes(const FatEntry& entry,
                                                                        const std::u16string& longName,
                                                                        bool deletedPieces = false);

}  // namespace dravel::test
