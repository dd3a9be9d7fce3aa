#include "MftExtents.h"

#include <algorithm>
#include <limits>

namespace dravel::ondisk {

namespace {

// count × spc, or nullopt when it does not fit 64 bits.
std::optional<std::uint64_t> runSectors(std::uint64_t clusters, std::uint32_t spc) {
  if (spc != 0 && clusters > std::numeric_limits<std::uint64_t>::max() / spc) return std::nullopt;
  return clusters * spc;
}

// The run's first device sector when it starts inside the volume.
std::optional<std::uint64_t> runFirstSector(const DataRun& run, const VolumeBounds& volume) {
  if (!run.startCluster || *run.startCluster < 0 || volume.endSector <= volume.cluster0Start) return std::nullopt;
  const auto cluster = static_cast<std::uint64_t>(*run.startCluster);
  if (cluster >= (volume.endSector - volume.cluster0Start) / volume.sectorsPerCluster + 1) return std::nullopt;
  const std::uint64_t sector = volume.cluster0Start + cluster * volume.sectorsPerCluster;
  if (sector >= volume.endSector) return std::nullopt;
  return sector;
}

class ExtentList {
 public:
  explicit ExtentList(std::uint64_t capacity) : m_room(capacity) {}
  [[nodiscard]] bool full() const { return m_room == 0 || m_extents.size() >= kMaxMftExtents; }
  void add(std::uint64_t firstSector, std::uint64_t sectors, bool readable) {
    sectors = std::min(sectors, m_room);
    if (sectors == 0 || full()) return;
    m_extents.push_back(MftExtent{firstSector, sectors, readable});
    m_room -= sectors;
  }
  std::vector<MftExtent> take() { return std::move(m_extents); }

 private:
  std::uint64_t m_room;  // sectors the volume can still hold
  std::vector<MftExtent> m_extents;
};

}  // namespace

std::vector<MftExtent> mftExtents(const std::vector<DataRun>& runs, const VolumeBounds& volume) {
  if (volume.sectorsPerCluster == 0 || volume.endSector <= volume.cluster0Start) return {};
  ExtentList list(volume.endSector - volume.cluster0Start);
  for (const auto& run : runs) {
    if (list.full()) break;
    const auto sectors = runSectors(run.clusterCount, volume.sectorsPerCluster);
    if (!sectors) {
      // Longer than any volume: its positions fill what is left.
      list.add(0, std::numeric_limits<std::uint64_t>::max(), false);
      break;
    }
    const auto first = runFirstSector(run, volume);
    if (!first) {
      list.add(0, *sectors, false);
      continue;
    }
    const std::uint64_t inside = std::min(*sectors, volume.endSector - *first);
    list.add(*first, inside, true);
    list.add(0, *sectors - inside, false);
  }
  return list.take();
}

MftLayout::MftLayout(std::vector<MftExtent> extents) : m_extents(std::move(extents)) {
  m_starts.reserve(m_extents.size() + 1);
  std::uint64_t total = 0;
  m_starts.push_back(0);
  for (const auto& extent : m_extents) {
    // mftExtents keeps the total within a volume; a hand-made list saturates.
    total = extent.sectors > std::numeric_limits<std::uint64_t>::max() - total
                ? std::numeric_limits<std::uint64_t>::max()
                : total + extent.sectors;
    m_starts.push_back(total);
  }
}

std::optional<MftLayout::Position> MftLayout::locate(std::uint64_t mftSector) const {
  if (mftSector >= totalSectors()) return std::nullopt;
  // The first extent whose end lies beyond mftSector.
  const auto end = std::upper_bound(m_starts.begin() + 1, m_starts.end(), mftSector);
  const auto index = static_cast<std::size_t>(end - m_starts.begin()) - 1;
  return Position{index, mftSector - m_starts[index]};
}

std::optional<std::uint64_t> MftLayout::sectorOf(std::uint64_t mftSector) const {
  const auto at = locate(mftSector);
  if (!at || !m_extents[at->extent].readable) return std::nullopt;
  return m_extents[at->extent].firstSector + at->offset;
}

std::optional<std::uint64_t> MftLayout::recordSector(std::uint64_t record) const {
  if (record > std::numeric_limits<std::uint64_t>::max() / 2) return std::nullopt;
  return sectorOf(record * 2);
}

}  // namespace dravel::ondisk
