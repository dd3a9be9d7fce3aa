#pragma once
// Saving recovered items below a destination folder: what the user chose is
// first counted into a plan (every included folder listed once), then each
// file of the plan is written by the result's content writer, mirroring the
// recovered tree below the destination. Shared by every window that saves
// and by the command line; the windows supply the questions and progress.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RecoveredResult.h"

namespace dravel::results {

// What the user chose to save.
struct SaveRequest {
  // Folders checked in the tree: each with its files and every folder below.
  std::vector<NodeId> wholeFolders;
  // Rows selected in the content list of `rowsFolder`: files, and folder
  // rows (each saved whole).
  NodeId rowsFolder = kNoNode;
  std::vector<ContentRow> rows;
};

struct PlannedFile {
  std::string relativePath;  // below the destination, '/'-separated, every component made safe
  ContentRow row;
};

struct SavePlan {
  std::vector<std::string> folders;  // relative paths to create, each after its parent
  std::vector<PlannedFile> files;
  bool stopped = false;              // the count was stopped: nothing should be saved
};

class CountProgress {
 public:
  virtual ~CountProgress() = default;
  virtual void counted(std::uint64_t /*files*/, std::uint64_t /*folders*/) {}
};

// Walks the selection; every item keeps the path it has below Root.
[[nodiscard]] SavePlan planSave(RecoveredResult& result, const SaveRequest& request, const std::atomic<bool>& stop,
                                CountProgress& progress);

// A recovered name as one path component here: "/", NUL and control
// characters replaced, and "", "." and ".." made into ordinary names, so
// that nothing is ever written outside the destination.
[[nodiscard]] std::string safeComponent(std::string_view name);

enum class ExistsChoice { Overwrite, Skip, Rename, Cancel };

struct ExistsAnswer {
  ExistsChoice choice = ExistsChoice::Skip;
  bool applyToAll = false;
  std::filesystem::path renameTo;  // Rename: the path to write (the suggested one unless edited)
};

// Asked, on the saving thread, when a target exists and no answer for all
// holds; `suggested` is the first free "_dd_" name.
using ExistsQuestion =
    std::function<ExistsAnswer(const std::filesystem::path& target, const std::filesystem::path& suggested)>;

// "report_dd_3.txt": "_dd_" and the first number from `runningNumber` on
// whose name is free, put in place of the last "."; the number is kept.
[[nodiscard]] std::filesystem::path freeName(const std::filesystem::path& target, std::uint64_t& runningNumber);

class SaveProgress {
 public:
  virtual ~SaveProgress() = default;
  // "Gathering Clusters Linking Information. This may take a while, Please wait..."
  virtual void gathering(bool /*on*/) {}
  virtual void fileStarted(const std::string& /*name*/, const std::filesystem::path& /*folder*/,
                           std::uint64_t /*size*/) {}
  virtual void fileBytes(std::uint64_t /*written*/, std::uint64_t /*size*/) {}
  virtual void totals(std::uint64_t /*filesDone*/, std::uint64_t /*filesTotal*/, std::uint64_t /*foldersDone*/,
                      std::uint64_t /*foldersTotal*/) {}
};

struct SaveControl {
  const std::atomic<bool>* abort = nullptr;  // Stop
  std::atomic<bool>* skip = nullptr;         // Skip (lowered again by the save after each file)
  ExistsQuestion ask;                        // required; without it an existing target is skipped
};

struct SaveSummary {
  std::uint64_t filesWritten = 0;
  std::uint64_t foldersCreated = 0;   // planned folders in place (made, or there before)
  std::uint64_t bytesWritten = 0;
  std::uint64_t filesSkipped = 0;     // by Skip, or by the answer to an existing target
  std::uint64_t unreadableUnits = 0;  // written as zeros
  bool aborted = false;               // Stop, Cancel, or the destination full
  bool diskFull = false;              // the destination ran out of space
  std::vector<std::string> failures;  // "relative/path: why"; the file is not saved
  std::vector<std::string> notes;     // "relative/path: why"; saved, with zeros where the medium failed
};

[[nodiscard]] SaveSummary runSave(RecoveredResult& result, const SavePlan& plan,
                                  const std::filesystem::path& destination, SaveControl& control,
                                  SaveProgress& progress);

// Open: the content of a file row written to "TUL%d.ext" in `folder` (a
// name without extension has no final "."); the number grows by one per
// call, process-wide, and a file already of that name is replaced. The
// copy's path, or nullopt when it could not be made.
[[nodiscard]] std::optional<std::filesystem::path> writeTemporaryCopy(RecoveredResult& result, const ContentRow& row,
                                                                      const std::filesystem::path& folder);

}  // namespace dravel::results
