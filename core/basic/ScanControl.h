#pragma once
// What a scan is given besides its input: the stop flag it polls at its
// named points, and the sink it reports progress to. Both are plain C++ so
// that the window, the command line and the tests drive the same engine.

#include <atomic>
#include <cstdint>
#include <string>

namespace dravel::basic {

// Polled once per block (FAT directory scan, parameter search) or per
// record (NTFS pass). `stopAfterBlocks` > 0 stops the scan after that many
// blocks or records, as if Stop had been pressed (the command line's
// --stop-after).
class ScanControl {
 public:
  explicit ScanControl(const std::atomic<bool>* stopFlag = nullptr, std::uint64_t stopAfterBlocks = 0)
      : m_flag(stopFlag), m_limit(stopAfterBlocks) {}

  [[nodiscard]] bool stopRequested() const {
    return (m_flag != nullptr && m_flag->load(std::memory_order_relaxed)) || (m_limit != 0 && m_blocks >= m_limit);
  }
  void blockDone() { ++m_blocks; }
  [[nodiscard]] std::uint64_t blocksDone() const { return m_blocks; }

 private:
  const std::atomic<bool>* m_flag;
  std::uint64_t m_limit;
  std::uint64_t m_blocks = 0;
};

enum class ScanStage {
  Validating,          // "Validating Partition ..."
  CalculatingParams,   // "Calculating Partition Params: " "%llu" "/ %llu"
  Scanning,            // "sectors scanned of total %llu" and "%llu"
  SearchingLost,       // "Searching Lost Directories. Please wait..."
  Storing,             // "Storing Directory Information. Please wait..."
};

// Every call comes from the scan thread. A sink that shows progress keeps
// it cheap (the NTFS pass reports once per record) and thread-safe.
class ScanProgress {
 public:
  virtual ~ScanProgress() = default;
  virtual void stage(ScanStage /*stage*/) {}
  // The number the stage's total text shows ("of total %llu", "/ %llu"),
  // and the progress bar's range.
  virtual void total(std::uint64_t /*shownTotal*/, std::uint64_t /*barLow*/, std::uint64_t /*barHigh*/) {}
  // The bar position and the current number the window shows ("%llu").
  virtual void position(std::uint64_t /*barPosition*/, std::uint64_t /*shownNumber*/) {}
  // A folder went into the tree while the scan runs: its node, its parent's
  // node and its text, copied, so a window can show it at once.
  virtual void folderInserted(std::uint32_t /*node*/, std::uint32_t /*parentNode*/, const std::string& /*text*/) {}
};

// The one message a Basic scan can end with.
inline constexpr const char* kParamsNotFoundMessage =
    "Unable to calculate partition parameters.\n\nPlease select the partition from the list of Logical Drive or "
    "click on \xE2\x80\x98Search more Partitions\xE2\x80\x99 in case of deleted or missing Drives.";

}  // namespace dravel::basic
