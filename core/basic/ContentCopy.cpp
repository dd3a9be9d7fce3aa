#include "ContentCopy.h"

#include <algorithm>
#include <cstring>

#include "ondisk/Sector.h"

namespace dravel::basic {

using results::WriteStatus;

ContentCopier::ContentCopier(storage::SectorSource& source, results::ContentOutput& out,
                             const results::WriteControl& control, std::uint64_t size, const CopyBounds& bounds,
                             std::uint64_t validBytes)
    : m_source(source),
      m_out(out),
      m_control(control),
      m_size(size),
      m_bounds(bounds),
      m_validBytes(validBytes),
      // A small file needs no more than its own size (rounded up to sectors).
      m_buffer(static_cast<std::size_t>(
          std::min<std::uint64_t>(std::uint64_t{kCopyBufferSectors} * kSectorSize,
                                  (size + kSectorSize - 1) / kSectorSize * kSectorSize))) {
  if (m_bounds.unitSectors == 0) m_bounds.unitSectors = 1;
}

bool ContentCopier::ended() const { return m_status != WriteStatus::Written || m_emitted >= m_size; }

bool ContentCopier::pollStop() {
  if (m_control.abort != nullptr && m_control.abort->load(std::memory_order_relaxed)) {
    m_status = WriteStatus::Aborted;
  } else if (m_control.skip != nullptr && m_control.skip->load(std::memory_order_relaxed)) {
    m_status = WriteStatus::Skipped;
  }
  return m_status != WriteStatus::Written;
}

bool ContentCopier::flush() {
  if (m_fill == 0) return true;
  const int error = m_out.write(std::span<const std::byte>(m_buffer.data(), m_fill));
  if (error != 0) {
    m_status = WriteStatus::OutputFailed;
    m_outputError = error;
    return false;
  }
  m_written += m_fill;
  m_fill = 0;
  if (m_control.progress) m_control.progress(m_written);
  return true;
}

// The buffer has room for at least one sector afterwards, unless the copy
// has ended.
bool ContentCopier::makeRoom() {
  if (m_buffer.size() - m_fill >= kSectorSize) return true;
  return flush() && !pollStop();
}

void ContentCopier::blankPastValid(std::byte* at, std::size_t bytes) {
  if (m_emitted + bytes <= m_validBytes) return;
  const std::size_t keep = m_emitted >= m_validBytes ? 0 : static_cast<std::size_t>(m_validBytes - m_emitted);
  std::memset(at + keep, 0, bytes - keep);
}

// Reads `count` sectors (all inside the partition) to `at`. A request that
// fails is read again unit by unit, so that one bad sector costs one unit,
// not the whole request; units that still fail are zeros.
void ContentCopier::readInto(std::byte* at, std::uint64_t first, std::uint32_t count) {
  const std::span<std::byte> whole(at, std::size_t{count} * kSectorSize);
  if (m_source.read(first, count, whole)) return;
  const std::uint32_t unit = m_bounds.unitSectors;
  for (std::uint32_t done = 0; done < count;) {
    // Units are counted from the piece's start: a cluster for FAT and NTFS.
    const std::uint32_t n = std::min(unit, count - done);
    const auto part = whole.subspan(std::size_t{done} * kSectorSize, std::size_t{n} * kSectorSize);
    if (!m_source.read(first + done, n, part)) {
      std::memset(part.data(), 0, part.size());
      ++m_unreadableUnits;
    }
    done += n;
  }
}

// One read request of up to `count` sectors inside the partition; how many
// sectors it took, 0 when the copy ended before it.
std::uint64_t ContentCopier::copyInside(std::uint64_t first, std::uint64_t count) {
  if (pollStop() || !makeRoom()) return 0;
  const std::uint64_t wanted = (remaining() + kSectorSize - 1) / kSectorSize;
  const std::uint64_t room = (m_buffer.size() - m_fill) / kSectorSize;
  const auto n = static_cast<std::uint32_t>(std::min({count, wanted, room}));
  std::byte* at = m_buffer.data() + m_fill;
  const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t{n} * kSectorSize, remaining()));
  if (m_emitted >= m_validBytes) {
    std::memset(at, 0, bytes);
  } else {
    readInto(at, first, n);
    blankPastValid(at, bytes);
  }
  m_fill += bytes;
  m_emitted += bytes;
  return n;
}

bool ContentCopier::sectors(std::uint64_t first, std::uint64_t count) {
  // Nothing lies past the last sector number; finish() pads what is cut here.
  count = std::min(count, UINT64_MAX - first);
  while (count > 0 && !ended()) {
    std::uint64_t step = 0;
    if (first >= m_bounds.firstSector && first < m_bounds.endSector) {
      step = copyInside(first, std::min(count, m_bounds.endSector - first));
      if (step == 0) break;
    } else {
      // Outside the partition: zeros, as far as the content still needs.
      const std::uint64_t outside =
          first < m_bounds.firstSector ? std::min(count, m_bounds.firstSector - first) : count;
      step = std::min(outside, (remaining() + kSectorSize - 1) / kSectorSize);
      (void)zeros(step * kSectorSize, true);
    }
    first += step;
    count -= step;
  }
  return !ended();
}

bool ContentCopier::zeros(std::uint64_t bytes, bool unreadable) {
  bytes = std::min(bytes, remaining());
  if (unreadable && bytes > 0) {
    const std::uint64_t unitBytes = std::uint64_t{m_bounds.unitSectors} * kSectorSize;
    m_unreadableUnits += (bytes + unitBytes - 1) / unitBytes;
  }
  while (bytes > 0 && m_status == WriteStatus::Written) {
    if (!makeRoom()) return false;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, m_buffer.size() - m_fill));
    std::memset(m_buffer.data() + m_fill, 0, n);
    m_fill += n;
    m_emitted += n;
    bytes -= n;
  }
  return !ended();
}

results::WriteResult ContentCopier::finish() {
  if (m_status == WriteStatus::Written && m_emitted < m_size) (void)zeros(remaining(), true);
  if (m_status == WriteStatus::Written) (void)flush();
  return {m_status, m_written, m_unreadableUnits, m_outputError};
}

}  // namespace dravel::basic
