#pragma once
// Streams a recovered file's content from the medium to its output: the
// writers describe the content as pieces in file order (sectors of the
// partition, or zeros), and the copier reads them in large requests into one
// buffer, writes the buffer out whole, and cuts the content at the file's
// size. What cannot be read becomes zeros, so the bytes after it stay where
// they belong.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "results/RecoveredResult.h"
#include "storage/SectorSource.h"

namespace dravel::basic {

// Sectors per read request and per output write: 1 MiB.
inline constexpr std::uint32_t kCopyBufferSectors = 2048;

struct CopyBounds {
  std::uint64_t firstSector = 0;  // the partition's sectors: anything outside reads as zeros
  std::uint64_t endSector = 0;
  std::uint32_t unitSectors = 1;  // a cluster: the unit counted when it cannot be read
};

class ContentCopier {
 public:
  // `size` bytes go to `out`; bytes past `validBytes` are zeros whatever the
  // medium holds there (NTFS's initialized size).
  ContentCopier(storage::SectorSource& source, results::ContentOutput& out, const results::WriteControl& control,
                std::uint64_t size, const CopyBounds& bounds, std::uint64_t validBytes = UINT64_MAX);

  // The next `count` sectors of content from `first` on. False once the
  // copy has ended (size reached, stopped, output failed): later pieces are
  // not wanted.
  bool sectors(std::uint64_t first, std::uint64_t count);
  // The next `bytes` of content are zeros: a sparse run (`unreadable`
  // false), or data the medium does not hold (true, counted in units).
  bool zeros(std::uint64_t bytes, bool unreadable);

  // Pads a content shorter than its size with zeros (counted unreadable),
  // writes what is buffered and says how it ended.
  results::WriteResult finish();

 private:
  [[nodiscard]] bool ended() const;
  [[nodiscard]] bool pollStop();
  [[nodiscard]] std::uint64_t remaining() const { return m_size - m_emitted; }
  bool makeRoom();
  std::uint64_t copyInside(std::uint64_t first, std::uint64_t count);
  bool flush();
  void readInto(std::byte* at, std::uint64_t first, std::uint32_t count);
  void blankPastValid(std::byte* at, std::size_t bytes);

  storage::SectorSource& m_source;
  results::ContentOutput& m_out;
  const results::WriteControl& m_control;
  std::uint64_t m_size;
  CopyBounds m_bounds;
  std::uint64_t m_validBytes;
  std::vector<std::byte> m_buffer;
  std::size_t m_fill = 0;         // bytes buffered, not yet written
  std::uint64_t m_emitted = 0;    // bytes of content produced (written + buffered)
  std::uint64_t m_written = 0;
  std::uint64_t m_unreadableUnits = 0;
  results::WriteStatus m_status = results::WriteStatus::Written;
  int m_outputError = 0;
};

}  // namespace dravel::basic
