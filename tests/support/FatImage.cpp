#include "FatImage.h"

#include <stdexcept>

namespace dravel::test {

namespace {

constexpr std::uint32_t kFat16EndOfChain = 0xFFFF;
constexpr std::uint32_t kFat32EndOfChain = 0x0FFFFFFF;

void put16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  put16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
  put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string padded(const std::string& name) { return (name + std::string(11, ' ')).substr(0, 11); }

std::uint8_t shortNameChecksum(const std::string& name11) {
  std::uint8_t sum = 0;
  for (const char c : name11) {
    sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + static_cast<std::uint8_t>(c));
  }
  return sum;
}

// One long-name piece: 13 units from `first`, NUL-ended and 0xFFFF-padded when the name ends inside it.
std::vector<std::uint8_t> longEntryBytes(const std::u16string& name, std::size_t piece, std::uint8_t order,
                                         std::uint8_t checksum) {
  std::vector<std::uint8_t> bytes(32, 0);
  bytes[0] = order;
  bytes[11] = 0x0F;
  bytes[13] = checksum;
  static constexpr std::size_t kUnitOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  for (std::size_t i = 0; i < 13; ++i) {
    const std::size_t at = piece * 13 + i;
    std::uint16_t unit = 0xFFFF;
    if (at < name.size()) unit = name[at];
    if (at == name.size()) unit = 0;
    put16(bytes, kUnitOffsets[i], unit);
  }
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> shortEntryBytes(const FatEntry& entry) {
  std::vector<std::uint8_t> bytes(32, 0);
  const std::string name = padded(entry.name);
  for (std::size_t i = 0; i < 11; ++i) bytes[i] = static_cast<std::uint8_t>(name[i]);
  if (entry.deleted) bytes[0] = 0xE5;
  bytes[11] = entry.attr;
  put16(bytes, 20, static_cast<std::uint16_t>(entry.cluster >> 16));
  put16(bytes, 22, entry.time);
  put16(bytes, 24, entry.date);
  put16(bytes, 26, static_cast<std::uint16_t>(entry.cluster & 0xFFFF));
  put32(bytes, 28, entry.size);
  return bytes;
}

FatImage::FatImage(DiskBuilder& disk, std::uint64_t firstSector, const FatLayout& layout, bool fat32, bool writeBoot)
    : m_disk(disk),
      m_fat32(fat32),
      m_first(firstSector),
      m_spc(layout.sectorsPerCluster),
      m_spf(layout.sectorsPerFat),
      m_firstFat(firstSector + layout.reserved),
      m_rootStart(firstSector + layout.reserved + 2ull * layout.sectorsPerFat),
      m_rootSectors(fat32 ? 0u : layout.rootEntries / 16u),
      m_rootCluster(layout.rootCluster),
      m_cluster0(m_rootStart + m_rootSectors - 2ull * layout.sectorsPerCluster) {
  if (writeBoot) {
    if (fat32) {
      disk.fat32(firstSector, layout);
    } else {
      disk.fat16(firstSector, layout);
    }
  }
  // The media entries a formatter writes: the FAT begins 0xF8 0xFF.
  setFat(0, fat32 ? 0x0FFFFFF8 : 0xFFF8);
  setFat(1, fat32 ? kFat32EndOfChain : kFat16EndOfChain);
  if (fat32) setFat(m_rootCluster, kFat32EndOfChain);
}

std::vector<std::uint64_t> FatImage::rootSectors() const {
  if (m_fat32) return sectorsOf({m_rootCluster});
  std::vector<std::uint64_t> sectors;
  for (std::uint32_t i = 0; i < m_rootSectors; ++i) sectors.push_back(m_rootStart + i);
  return sectors;
}

std::vector<std::uint64_t> FatImage::sectorsOf(const std::vector<std::uint32_t>& clusters) const {
  std::vector<std::uint64_t> sectors;
  for (const std::uint32_t cluster : clusters) {
    for (std::uint32_t i = 0; i < m_spc; ++i) sectors.push_back(clusterSector(cluster) + i);
  }
  return sectors;
}

void FatImage::setFat(std::uint32_t cluster, std::uint32_t value) {
  const std::uint64_t width = m_fat32 ? 4 : 2;
  const std::uint64_t offset = std::uint64_t{cluster} * width;
  if (offset / 512 >= m_spf) throw std::out_of_range("FatImage: cluster beyond the FAT");
  for (const std::uint64_t fat : {m_firstFat, m_firstFat + m_spf}) {
    if (m_fat32) {
      m_disk.put32(fat * 512 + offset, value);
    } else {
      m_disk.put16(fat * 512 + offset, static_cast<std::uint16_t>(value));
    }
  }
}

void FatImage::chain(const std::vector<std::uint32_t>& clusters) {
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    const bool last = i + 1 == clusters.size();
    setFat(clusters[i], last ? (m_fat32 ? kFat32EndOfChain : kFat16EndOfChain) : clusters[i + 1]);
  }
}

void FatImage::directoryCluster(std::uint32_t cluster, std::uint32_t parent, std::uint16_t date, std::uint16_t time) {
  const std::uint64_t sector = clusterSector(cluster);
  entryAt(sector, 0, FatEntry{".", 0x10, cluster, 0, date, time, false});
  entryAt(sector, 1, FatEntry{"..", 0x10, parent, 0, date, time, false});
  chain({cluster});
}

void FatImage::entryAt(std::uint64_t sector, std::size_t index, const FatEntry& entry) {
  const auto bytes = shortEntryBytes(entry);
  for (std::size_t i = 0; i < bytes.size(); ++i) m_disk.put8(sector * 512 + index * 32 + i, bytes[i]);
}

void DirectoryWriter::put(const std::vector<std::uint8_t>& bytes) {
  const std::size_t sectorIndex = m_slot / 16;
  if (sectorIndex >= m_sectors.size()) throw std::out_of_range("DirectoryWriter: directory full");
  const std::uint64_t at = m_sectors[sectorIndex] * 512 + (m_slot % 16) * 32;
  for (std::size_t i = 0; i < bytes.size(); ++i) m_image.disk().put8(at + i, bytes[i]);
  ++m_slot;
}

void DirectoryWriter::add(const FatEntry& entry) { put(shortEntryBytes(entry)); }

std::vector<std::vector<std::uint8_t>> longNameEntryBytes(const FatEntry& entry, const std::u16string& longName,
                                                          bool deletedPieces) {
  std::vector<std::vector<std::uint8_t>> entries;
  const std::size_t pieces = (longName.size() + 12) / 13;
  const std::uint8_t checksum = shortNameChecksum(padded(entry.name));
  for (std::size_t k = pieces; k >= 1; --k) {
    auto order = static_cast<std::uint8_t>(k | (k == pieces ? 0x40 : 0));
    if (deletedPieces) order = 0xE5;
    entries.push_back(longEntryBytes(longName, k - 1, order, checksum));
  }
  return entries;
}

void DirectoryWriter::add(const FatEntry& entry, const std::u16string& longName, bool deletedPieces) {
  for (const auto& piece : longNameEntryBytes(entry, longName, deletedPieces)) put(piece);
  add(entry);
}

void DirectoryWriter::end() { put(std::vector<std::uint8_t>(32, 0)); }

}  // namespace dravel::test
