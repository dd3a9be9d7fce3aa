// Writing a save plan below the destination: folders first, then each file
// through the result's content writer, with the file-exists answers, Stop,
// Skip and a full destination.

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "OutputFile.h"
#include "SaveJob.h"
#include "common/Text.h"

namespace dravel::results {

namespace fs = std::filesystem;

namespace {

// New names for existing targets count from here.
constexpr std::uint64_t kFirstRunningNumber = 1;
constexpr std::size_t kMaxNameBytes = 255;

std::pair<std::string, std::string> splitPath(const std::string& relative) {
  const auto slash = relative.rfind('/');
  if (slash == std::string::npos) return {"", relative};
  return {relative.substr(0, slash), relative.substr(slash + 1)};
}

// Nothing stands at `path` (a link counts). A name that cannot even be
// looked at counts as free: writing it then fails and says why.
bool lstatFree(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) != 0;
}

// `stem` + `suffix` + `extension` within a file name's length, the stem cut
// (whole UTF-8 sequences) when it must be.
std::string fitName(std::string stem, const std::string& suffix, const std::string& extension) {
  const std::size_t fixed = suffix.size() + extension.size();
  if (stem.size() + fixed > kMaxNameBytes && fixed < kMaxNameBytes) {
    std::size_t end = kMaxNameBytes - fixed;
    while (end > 0 && (static_cast<unsigned char>(stem[end]) & 0xC0) == 0x80) --end;
    stem.resize(end);
  }
  return stem + suffix + extension;
}

// Where one file goes: a folder and a name in it.
struct Target {
  int folder = -1;
  std::string name;
  bool replace = false;
  UniqueFd ownFolder;  // a renamed target's folder elsewhere
};

class SaveRun {
 public:
  SaveRun(RecoveredResult& result, const SavePlan& plan, const fs::path& destination, SaveControl& control,
          SaveProgress& progress)
      : m_result(result), m_plan(plan), m_destination(destination), m_control(control), m_progress(progress) {}

  SaveSummary run() {
    auto folders = SaveFolders::open(m_destination);
    if (!folders) {
      failed(m_destination.string(), folders.error());
      m_summary.aborted = true;
      return m_summary;
    }
    makeFolders(folders.value());
    for (const PlannedFile& file : m_plan.files) {
      if (m_summary.aborted || stopRequested()) break;
      saveFile(folders.value(), file);
      if (m_control.skip != nullptr) m_control.skip->store(false);
      totals();
    }
    if (stopRequested()) m_summary.aborted = true;
    return m_summary;
  }

 private:
  [[nodiscard]] bool stopRequested() const { return m_control.abort != nullptr && m_control.abort->load(); }

  void totals() {
    m_progress.totals(m_summary.filesWritten, m_plan.files.size(), m_summary.foldersCreated, m_plan.folders.size());
  }

  void failed(const std::string& path, int error) {
    if (isDestinationFull(error)) {
      m_summary.diskFull = true;
      m_summary.aborted = true;
    }
    m_summary.failures.push_back(path + ": " + std::strerror(error));
  }

  void makeFolders(SaveFolders& folders) {
    for (const std::string& path : m_plan.folders) {
      if (m_summary.aborted || stopRequested()) return;
      if (const auto made = folders.folder(path); made) {
        ++m_summary.foldersCreated;
      } else {
        failed(path, made.error());
      }
      totals();
    }
  }

  // The target after the file-exists rules; nullopt when the file is not
  // to be written.
  std::optional<Target> resolveTarget(int folder, const std::string& folderPath, const std::string& name) {
    Target target{folder, name, false, {}};
    if (!existsIn(folder, name)) return target;
    const fs::path full = m_destination / folderPath / name;
    ExistsAnswer answer;
    if (m_forAll) {
      answer.choice = *m_forAll;
    } else if (m_control.ask) {
      answer = m_control.ask(full, freeName(full, m_runningNumber));
      if (answer.applyToAll && answer.choice != ExistsChoice::Cancel) m_forAll = answer.choice;
    }
    switch (answer.choice) {
      case ExistsChoice::Overwrite: target.replace = true; return target;
      case ExistsChoice::Skip: ++m_summary.filesSkipped; return std::nullopt;
      case ExistsChoice::Cancel:
        ++m_summary.filesSkipped;
        m_summary.aborted = true;
        return std::nullopt;
      case ExistsChoice::Rename: break;
    }
    const fs::path renamed = answer.renameTo.empty() || m_forAll ? freeName(full, m_runningNumber) : answer.renameTo;
    target.name = renamed.filename().string();
    if (renamed.parent_path() == full.parent_path()) return target;
    // The user typed another folder: theirs to choose, links and all.
    target.ownFolder = UniqueFd(::open(renamed.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!target.ownFolder.valid()) {
      failed(renamed.string(), errno);
      return std::nullopt;
    }
    target.folder = target.ownFolder.get();
    return target;
  }

  void saveFile(SaveFolders& folders, const PlannedFile& file) {
    const auto [folderPath, name] = splitPath(file.relativePath);
    m_progress.fileStarted(file.row.name, m_destination / folderPath, file.row.size);
    const auto folder = folders.folder(folderPath);
    if (!folder) return failed(file.relativePath, folder.error());
    auto target = resolveTarget(folder.value(), folderPath, name);
    if (!target) return;
    auto output = OutputFile::create(target->folder);
    if (!output) return failed(file.relativePath, output.error());
    WriteControl control;
    control.abort = m_control.abort;
    control.skip = m_control.skip;
    const std::uint64_t size = file.row.size;
    control.progress = [this, size](std::uint64_t written) { m_progress.fileBytes(written, size); };
    control.gathering = [this](bool on) { m_progress.gathering(on); };
    const WriteResult written = m_result.writeContent(file.row, output.value(), control);
    finishFile(file, written, output.value(), *target);
  }

  void finishFile(const PlannedFile& file, const WriteResult& written, OutputFile& output, const Target& target) {
    switch (written.status) {
      case WriteStatus::Written: break;
      case WriteStatus::NoContent:
        m_summary.failures.push_back(file.relativePath + ": its record could not be read; nothing to save");
        return;
      case WriteStatus::Skipped: ++m_summary.filesSkipped; return;
      case WriteStatus::Aborted: m_summary.aborted = true; return;
      case WriteStatus::OutputFailed: return failed(file.relativePath, written.outputError);
    }
    if (const int error = output.commit(target.name, target.replace); error != 0) {
      return failed(file.relativePath, error);
    }
    ++m_summary.filesWritten;
    m_summary.bytesWritten += written.bytes;
    m_summary.unreadableUnits += written.unreadableUnits;
    if (written.unreadableUnits > 0) {
      m_summary.notes.push_back(strprintf("%s: %llu clusters could not be read and were saved as zeros",
                                          file.relativePath.c_str(),
                                          static_cast<unsigned long long>(written.unreadableUnits)));
    }
  }

  RecoveredResult& m_result;
  const SavePlan& m_plan;
  fs::path m_destination;
  SaveControl& m_control;
  SaveProgress& m_progress;
  SaveSummary m_summary;
  std::optional<ExistsChoice> m_forAll;
  std::uint64_t m_runningNumber = kFirstRunningNumber;
};

}  // namespace

fs::path freeName(const fs::path& target, std::uint64_t& runningNumber) {
  const std::string name = target.filename().string();
  const auto dot = name.rfind('.');
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
  // Ends: a folder holds finitely many names.
  for (std::uint64_t n = runningNumber;; ++n) {
    fs::path candidate = target.parent_path() / fitName(stem, "_dd_" + std::to_string(n), extension);
    if (lstatFree(candidate) || n == UINT64_MAX) {
      runningNumber = n;
      return candidate;
    }
  }
}

SaveSummary runSave(RecoveredResult& result, const SavePlan& plan, const fs::path& destination,
                    SaveControl& control, SaveProgress& progress) {
  return SaveRun(result, plan, destination, control, progress).run();
}

}  // namespace dravel::results
