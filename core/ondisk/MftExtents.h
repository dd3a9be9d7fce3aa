#pragma once
// Where the master file table lies: its extents, from the data runs of
// record 0, and the sector of any record through them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "DataRuns.h"

namespace dravel::ondisk {

inline constexpr std::size_t kMaxMftExtents = 512;

struct MftExtent {
  std::uint64_t firstSector = 0;
  std::uint64_t sectors = 0;
  // False for a run with nothing to read (sparse, a negative cluster, past
  // the volume's end): its record positions still count, so the records
  // after it keep their numbers, but none is read.
  bool readable = true;
};

struct VolumeBounds {
  std::uint64_t cluster0Start = 0;  // the volume's first sector
  std::uint32_t sectorsPerCluster = 0;
  std::uint64_t endSector = 0;  // one past the volume's last sector
};

// Runs become extents in order: first sector = cluster0Start + cluster × SPC,
// length = count × SPC. A run that starts outside the volume is kept as an
// unreadable extent; one that crosses its end is split there. The MFT cannot
// be larger than its volume, so the extents together stop at the volume's
// size; the list stops at kMaxMftExtents, keeping what fits.
[[nodiscard]] std::vector<MftExtent> mftExtents(const std::vector<DataRun>& runs, const VolumeBounds& volume);

// The extents with their running totals: MFT sector s (record n begins at
// s = 2n) to a device sector.
class MftLayout {
 public:
  MftLayout() = default;
  explicit MftLayout(std::vector<MftExtent> extents);

  [[nodiscard]] const std::vector<MftExtent>& extents() const { return m_extents; }
  [[nodiscard]] std::uint64_t totalSectors() const { return m_starts.empty() ? 0 : m_starts.back(); }
  // Whole records the extents hold.
  [[nodiscard]] std::uint64_t recordCount() const { return totalSectors() / 2; }

  struct Position {
    std::size_t extent = 0;
    std::uint64_t offset = 0;  // sectors into that extent
  };
  // Which extent holds MFT sector `mftSector`; empty past the end.
  [[nodiscard]] std::optional<Position> locate(std::uint64_t mftSector) const;
  // The MFT sector at which extent `index` begins.
  [[nodiscard]] std::uint64_t extentStart(std::size_t index) const { return m_starts.at(index); }
  // The device sector of MFT sector `mftSector`; empty past the end or in
  // an unreadable extent.
  [[nodiscard]] std::optional<std::uint64_t> sectorOf(std::uint64_t mftSector) const;
  // The first sector of record `record`.
  [[nodiscard]] std::optional<std::uint64_t> recordSector(std::uint64_t record) const;

 private:
  std::vector<MftExtent> m_extents;
  std::vector<std::uint64_t> m_starts;  // m_starts[i]: MFT sector where extent i begins; one more at the end
};

}  // namespace dravel::ondisk
