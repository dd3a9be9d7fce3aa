#pragma once
// A Basic Search engine with a made-up result, for driving the Basic Search
// window without a disk: the folders it "finds", the files of each folder,
// the names a folder's directory gives its children, made-up file content,
// and gates that hold the scan, a listing or a file's writing at a chosen
// point until the test lets it go.

#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "app/CBasicSearch.h"
#include "basic/BasicSearch.h"

namespace dravel::testing {

// Holds a worker until released. The scan's stop flag and the population
// stop cannot wake a waiter, so a waiter that honours them looks every
// millisecond.
class Gate {
 public:
  void wait(const std::function<bool()>& giveUp = {}) {
    std::unique_lock lock(m_mutex);
    m_reached = true;
    while (!m_released) {
      if (giveUp && giveUp()) return;
      m_condition.wait_for(lock, std::chrono::milliseconds(1));
    }
  }
  void release() {
    {
      const std::lock_guard lock(m_mutex);
      m_released = true;
    }
    m_condition.notify_all();
  }
  [[nodiscard]] bool reached() const {
    const std::lock_guard lock(m_mutex);
    return m_reached;
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_condition;
  bool m_reached = false;
  bool m_released = false;
};

struct FakeFolder {
  std::string name;
  std::uint32_t self = 0;
  std::uint32_t parent = 0;  // 0: Root; the parent must come first
  bool deleted = false;
};

struct FakeFile {
  std::uint32_t folder = 0;  // 0: Root
  std::string name;
  std::uint64_t size = 0;
  bool deleted = false;
};

struct FakeScript {
  std::vector<FakeFolder> folders;
  std::vector<FakeFile> files;
  std::map<std::uint32_t, std::string> directoryNames;  // self id → the name its parent's directory gives it
  bool orphanFolder = true;                             // "ORV_Miscellaneous" under Root, last
  bool root = true;                                     // false: an empty tree, as from a device that did not open
  std::string message;
  std::optional<std::size_t> scanGateAfter;  // folders inserted before the scan holds
  bool scanGateHonoursStop = true;
  std::optional<std::size_t> listGateAfter;  // file rows listed before a listing holds
  std::optional<std::size_t> writeGateAt;    // the file written (counting from 0) that holds after its first unit
  std::set<std::string> unreadable;          // files whose content cannot be read
  std::set<std::string> destinationFullAt;   // files whose writing finds the destination full
};

// The made-up content of a file: every file's bytes differ from another's.
inline std::string fakeContent(const std::string& name, std::uint64_t size) {
  std::string bytes(size, '\0');
  const auto seed = static_cast<unsigned>(std::hash<std::string>{}(name));
  for (std::uint64_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((seed + i * 7U) & 0xFFU);
  return bytes;
}

class FakeBasicSearch final : public basic::BasicSearch {
 public:
  FakeBasicSearch(const basic::ScanInput& input, std::shared_ptr<const FakeScript> script,
                  std::shared_ptr<Gate> scanGate, std::shared_ptr<Gate> listGate,
                  std::shared_ptr<Gate> writeGate = std::make_shared<Gate>())
      : BasicSearch(input, {}), m_script(std::move(script)), m_scanGate(std::move(scanGate)),
        m_listGate(std::move(listGate)), m_writeGate(std::move(writeGate)) {}

  [[nodiscard]] std::uint32_t rootId() const override { return results::kFatRootId; }

 protected:
  basic::ScanOutcome scanAndBuild(basic::ScanControl& control, basic::ScanProgress& progress) override {
    const auto first = input().firstSector;
    progress.stage(basic::ScanStage::Scanning);
    progress.total(input().endSector, first, input().endSector);
    basic::ScanOutcome outcome;
    const auto& folders = m_script->folders;
    for (std::size_t i = 0; i <= folders.size(); ++i) {
      if (m_script->scanGateAfter == i) {
        m_scanGate->wait(m_script->scanGateHonoursStop ? std::function<bool()>([&] { return control.stopRequested(); })
                                                       : std::function<bool()>());
      }
      if (control.stopRequested()) {
        outcome.stopped = true;
        break;
      }
      if (i == folders.size()) break;
      progress.position(first + (i + 1) * 100, first + (i + 1) * 100);
      const auto& f = folders[i];
      const auto parent = f.parent == 0 ? std::optional<results::NodeId>() : m_tree.nodeForId(f.parent);
      m_tree.insertFolder({parent.value_or(results::kNoNode), f.name, f.self, 0, 0, f.parent, f.deleted, 0});
      control.blockDone();
    }
    progress.stage(basic::ScanStage::SearchingLost);
    progress.stage(basic::ScanStage::Storing);
    if (!m_script->root) return outcome;
    m_tree.ensureRoot();
    if (m_script->orphanFolder)
      m_tree.insertFolder({results::kNoNode, results::kOrphanFolderName, results::kOrphanFolderId, 0, 0, 0, false, 0});
    outcome.message = m_script->message;
    return outcome;
  }

  void nameChildren(results::NodeId node, const std::atomic<bool>&, basic::ListingSink* sink) override {
    for (const results::NodeId child : m_tree.node(node).children) {
      const auto* record = m_tree.recordOf(child);
      const auto name = m_script->directoryNames.find(record->selfId);
      if (name == m_script->directoryNames.end()) continue;
      m_tree.resolveName(child, name->second, false);
      if (sink != nullptr) sink->folderChanged(child, name->second, false);
    }
  }

  void listFiles(results::NodeId node, const std::atomic<bool>& populationStop, basic::ListingSink& sink) override {
    const auto* record = m_tree.recordOf(node);
    const std::uint32_t id = record != nullptr ? record->selfId : rootId();
    std::size_t listed = 0;
    for (const auto& file : m_script->files) {
      if (file.folder != id) continue;
      if (m_script->listGateAfter == listed) m_listGate->wait([&] { return populationStop.load(); });
      if (populationStop.load()) return;
      results::ContentRow row;
      row.name = file.name;
      row.type = "Text Document";
      row.size = file.size;
      row.when = kWhen;
      row.deleted = file.deleted;
      row.debugSelf = 100 + listed;
      row.shortName = file.name;
      sink.row(row);
      ++listed;
    }
  }

  [[nodiscard]] results::Timestamp folderTime(const results::FolderRecord&) const override { return kWhen; }

  // fakeContent in units of 512 bytes, with the flags looked at before each
  // unit, as the real writers do.
  results::WriteResult writeFile(const results::ContentRow& row, results::ContentOutput& out,
                                 const results::WriteControl& control) override {
    if (m_script->unreadable.contains(row.name)) return {results::WriteStatus::NoContent, 0, 0, 0};
    if (m_script->destinationFullAt.contains(row.name)) return {results::WriteStatus::OutputFailed, 0, 0, ENOSPC};
    const std::size_t call = m_writes++;
    const std::string bytes = fakeContent(row.name, row.size);
    auto raised = [](const std::atomic<bool>* flag) { return flag != nullptr && flag->load(); };
    results::WriteResult result;
    for (std::size_t at = 0; at < bytes.size(); at += 512) {
      if (at > 0 && m_script->writeGateAt == call) {
        // Held as if following a long cluster chain.
        if (control.gathering) control.gathering(true);
        m_writeGate->wait([&] { return raised(control.abort) || raised(control.skip); });
        if (control.gathering) control.gathering(false);
      }
      if (raised(control.abort)) return {results::WriteStatus::Aborted, result.bytes, 0, 0};
      if (raised(control.skip)) return {results::WriteStatus::Skipped, result.bytes, 0, 0};
      const auto unit = std::as_bytes(std::span(bytes).subspan(at, std::min<std::size_t>(512, bytes.size() - at)));
      if (const int error = out.write(unit); error != 0)
        return {results::WriteStatus::OutputFailed, result.bytes, 0, error};
      result.bytes += unit.size();
      if (control.progress) control.progress(result.bytes);
    }
    return result;
  }

 private:
  static constexpr results::Timestamp kWhen{2024, 3, 7, 10, 20, 30};
  std::shared_ptr<const FakeScript> m_script;
  std::shared_ptr<Gate> m_scanGate;
  std::shared_ptr<Gate> m_listGate;
  std::shared_ptr<Gate> m_writeGate;
  std::atomic<std::size_t> m_writes{0};
};

// Basic Search windows take the fake engine while this lives; both gates
// open when it goes.
class ScopedFakeEngine {
 public:
  explicit ScopedFakeEngine(FakeScript script = defaultScript())
      : m_script(std::make_shared<FakeScript>(std::move(script))) {
    app::CBasicSearch::setEngineFactory(
        [script = m_script, scanGate = scanGate, listGate = listGate,
         writeGate = writeGate](const basic::ScanInput& input) {
          return std::make_unique<FakeBasicSearch>(input, script, scanGate, listGate, writeGate);
        });
  }
  ~ScopedFakeEngine() {
    app::CBasicSearch::setEngineFactory({});
    scanGate->release();
    listGate->release();
    writeGate->release();
  }
  ScopedFakeEngine(const ScopedFakeEngine&) = delete;
  ScopedFakeEngine& operator=(const ScopedFakeEngine&) = delete;

  // One folder: enough for a result that is not empty.
  static FakeScript defaultScript() {
    FakeScript script;
    script.folders = {{"Docs", 2, 0}};
    return script;
  }

  // Read by every engine made afterwards: change it before Next.
  [[nodiscard]] FakeScript& script() { return *m_script; }

  std::shared_ptr<Gate> scanGate = std::make_shared<Gate>();
  std::shared_ptr<Gate> listGate = std::make_shared<Gate>();
  std::shared_ptr<Gate> writeGate = std::make_shared<Gate>();

 private:
  std::shared_ptr<FakeScript> m_script;
};

}  // namespace dravel::testing
