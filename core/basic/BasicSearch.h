#pragma once
// A Basic Search of one FAT16, FAT32 or NTFS partition: the scan that finds
// its folders, the result tree built from them, and the listings of one
// folder at a time. The FAT and NTFS engines fill in the file-system parts;
// everything they share (threads' access to the tree, subfolder rows, the
// walk order) is here.
//
// Thread use: one scan thread calls run(); afterwards expand() and list()
// may come from any thread, one at a time or not (an internal mutex
// serialises them). Nothing here touches a window; what a window shows
// goes out through the progress and listing sinks.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "ScanControl.h"
#include "SourcePool.h"
#include "storage/SectorSource.h"
#include "results/ContentRow.h"
#include "results/RecoveredResult.h"
#include "results/ResultTree.h"

namespace dravel::basic {

struct ScanInput {
  std::string devicePath;      // "\\.\PhysicalDrive1": a volume is scanned over its area on its disk
  std::string fileSystemName;  // "FAT16", "FAT32" or "NTFS"
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;  // one past the last sector
};

struct ScanOutcome {
  bool stopped = false;       // Stop (or --stop-after) ended the scan early
  std::string message;        // for the user when not empty (parameters not found)
  bool nothingFound = false;  // the tree holds Root and at most an empty orphan folder
};

using ListingSink = results::ListingSink;

// Opens a new reader on the scanned device; each thread (scan, listing,
// expansion) gets its own. Returns nullptr when the device does not open:
// the engine then finds nothing. Tests hand in memory images this way.
using SourceFactory = std::function<std::unique_ptr<storage::SectorSource>()>;

// The device path's reader, through one read-only descriptor per call.
[[nodiscard]] SourceFactory deviceSourceFactory(const std::string& devicePath);

class BasicSearch : public results::RecoveredResult {
 public:
  // nullptr when Basic Search does not read this file system. Without a
  // factory the engine reads input.devicePath.
  [[nodiscard]] static std::unique_ptr<BasicSearch> create(const ScanInput& input, SourceFactory sources = {});
  virtual ~BasicSearch() = default;
  BasicSearch(const BasicSearch&) = delete;
  BasicSearch& operator=(const BasicSearch&) = delete;

  [[nodiscard]] const ScanInput& input() const { return m_input; }
  // 0 on FAT, 5 on NTFS: the id the Root item stands for.
  [[nodiscard]] virtual std::uint32_t rootId() const = 0;

  // The scan thread's whole run: parameters, scan, tree. A stop ends the
  // scan at its next check and the tree is built from what was found.
  ScanOutcome run(ScanControl& control, ScanProgress& progress);

  // The first expansion of a folder names its child folders from its
  // directory (FAT); later ones do nothing. Renames go to `sink`.
  void expand(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink* sink = nullptr);

  // The content of one folder: its subfolder rows, then its file rows.
  // False when the population stop ended it early.
  bool list(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) override;

  // Reads the tree under the lock (a copy for another thread, a walk).
  void readTree(const std::function<void(const results::ResultTree&)>& reader) const override;

  // A file's content, read through a reader of its own; the geometry it
  // uses is fixed once the scan has ended, so no lock is taken.
  results::WriteResult writeContent(const results::ContentRow& row, results::ContentOutput& out,
                                    const results::WriteControl& control) override {
    return writeFile(row, out, control);
  }
  [[nodiscard]] std::string sourceDevicePath() const override { return m_input.devicePath; }

 protected:
  BasicSearch(ScanInput input, SourceFactory sources)
      : m_input(std::move(input)), m_sources(std::make_unique<SourcePool>(std::move(sources))) {}

  // A reader for the calling thread, lent until the lease ends; empty when
  // the device does not open.
  [[nodiscard]] SourceLease openSource() const { return m_sources->lease(); }

  // The engine's scan and tree building, run with the lock held.
  virtual ScanOutcome scanAndBuild(ScanControl& control, ScanProgress& progress) = 0;
  // Reads the directory of `node` and renames its child folders (FAT).
  virtual void nameChildren(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink* sink) = 0;
  // The file rows of one folder.
  virtual void listFiles(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink) = 0;
  // The content of one of those rows.
  virtual results::WriteResult writeFile(const results::ContentRow& row, results::ContentOutput& out,
                                         const results::WriteControl& control) = 0;

  // Date and time of a folder row, from the record's Date and Time.
  [[nodiscard]] virtual results::Timestamp folderTime(const results::FolderRecord& record) const = 0;

  // The tree, for the engines (the lock is held whenever they run).
  results::ResultTree m_tree;

 private:
  void listSubfolders(results::NodeId node, const std::atomic<bool>& populationStop, ListingSink& sink);
  [[nodiscard]] bool nothingFound() const;

  ScanInput m_input;
  std::unique_ptr<SourcePool> m_sources;  // its own lock: readers are lent without the tree's
  mutable std::mutex m_mutex;
};

}  // namespace dravel::basic
