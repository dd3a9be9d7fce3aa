#pragma once
// A finished scan's result as the windows and the save and open commands
// read it: the tree, the listing of one folder, and the content of a file.
// Every search mode that recovers files from a file system provides one.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "ContentRow.h"
#include "ResultTree.h"

namespace dravel::results {

// Receives a listing as it is made, on the listing's thread.
class ListingSink {
 public:
  virtual ~ListingSink() = default;
  // A child folder of the listed folder got its name or its deleted mark.
  virtual void folderChanged(NodeId /*node*/, const std::string& /*name*/, bool /*deleted*/) {}
  virtual void row(const ContentRow& row) = 0;
};

// Where a recovered file's content goes.
class ContentOutput {
 public:
  virtual ~ContentOutput() = default;
  // 0 when written, else the errno of the failed write (ENOSPC: the
  // destination is full).
  [[nodiscard]] virtual int write(std::span<const std::byte> bytes) = 0;
};

struct WriteControl {
  const std::atomic<bool>* abort = nullptr;  // Stop: the save ends after the current unit
  const std::atomic<bool>* skip = nullptr;   // Skip: the current file is abandoned
  // Bytes written so far of the current file, after each unit.
  std::function<void(std::uint64_t written)> progress;
  // On while a long cluster chain is followed before the first byte can be
  // written ("Gathering Clusters Linking Information..."), off after it.
  std::function<void(bool on)> gathering;
};

enum class WriteStatus {
  Written,       // the whole size was written (unreadable units as zeros)
  NoContent,     // nothing to write from: the record or its data could not be read
  Skipped,       // the skip flag ended it
  Aborted,       // the abort flag ended it
  OutputFailed,  // a write failed; `outputError` says why
};

struct WriteResult {
  WriteStatus status = WriteStatus::Written;
  std::uint64_t bytes = 0;            // written to the output
  std::uint64_t unreadableUnits = 0;  // units of the medium that could not be read (written as zeros)
  int outputError = 0;
};

class RecoveredResult {
 public:
  virtual ~RecoveredResult() = default;
  virtual void readTree(const std::function<void(const ResultTree&)>& reader) const = 0;
  // The content of one folder: its subfolder rows, then its file rows.
  // False when the population stop ended it early.
  virtual bool list(NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) = 0;
  // Writes the content of a file row (not a folder row) of a listing.
  virtual WriteResult writeContent(const ContentRow& row, ContentOutput& out, const WriteControl& control) = 0;
  // The device the result was read from ("\\.\PhysicalDrive1").
  [[nodiscard]] virtual std::string sourceDevicePath() const = 0;
};

}  // namespace dravel::results
