#include "ScanWorker.h"

#include <chrono>
#include <optional>
#include <utility>

namespace dravel::app {

// The scan thread's progress sink: everything is posted to the worker on
// the GUI thread, positions and inserted folders at most every 50 ms.
class ThrottledProgress final : public basic::ScanProgress {
 public:
  ThrottledProgress(ScanWorker& worker, std::uint64_t generation) : m_worker(worker), m_generation(generation) {}

  // Stages and totals are rare and go at once, after what was held back.
  void stage(basic::ScanStage stage) override {
    flush();
    m_worker.post(m_generation, [w = &m_worker, stage] { emit w->stageChanged(stage); });
  }

  void total(std::uint64_t shownTotal, std::uint64_t barLow, std::uint64_t barHigh) override {
    flush();
    m_worker.post(m_generation, [w = &m_worker, shownTotal, barLow, barHigh] {
      emit w->totalChanged(shownTotal, barLow, barHigh);
    });
  }

  void position(std::uint64_t barPosition, std::uint64_t shownNumber) override {
    m_position = {barPosition, shownNumber};
    if (due(m_positionSent)) flushPosition();
  }

  void folderInserted(std::uint32_t node, std::uint32_t parentNode, const std::string& text) override {
    m_folders.append(InsertedFolder{node, parentNode, QString::fromStdString(text)});
    if (due(m_foldersSent)) flushFolders();
  }

  void flush() {
    flushFolders();
    flushPosition();
  }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kInterval = std::chrono::milliseconds(50);

  // The first report after a quiet spell goes at once; the next ones wait
  // until the interval has passed (and the scan reports again) or the end.
  [[nodiscard]] static bool due(Clock::time_point lastSent) { return Clock::now() - lastSent >= kInterval; }

  void flushFolders() {
    if (m_folders.isEmpty()) return;
    m_worker.post(m_generation, [w = &m_worker, folders = std::exchange(m_folders, {})] {
      emit w->foldersInserted(folders);
    });
    m_foldersSent = Clock::now();
  }

  void flushPosition() {
    if (!m_position) return;
    m_worker.post(m_generation, [w = &m_worker, p = *m_position] { emit w->positionChanged(p.first, p.second); });
    m_position.reset();
    m_positionSent = Clock::now();
  }

  ScanWorker& m_worker;
  std::uint64_t m_generation;
  QList<InsertedFolder> m_folders;
  std::optional<std::pair<std::uint64_t, std::uint64_t>> m_position;
  Clock::time_point m_foldersSent{};
  Clock::time_point m_positionSent{};
};

ScanWorker::ScanWorker(QObject* parent) : QObject(parent) {}

ScanWorker::~ScanWorker() { join(); }

bool ScanWorker::start(Job job) {
  {
    const std::lock_guard lock(m_mutex);
    if (m_running) return false;
    m_running = true;
  }
  join();  // a scan that ended before its end was handled
  const std::uint64_t generation = ++m_generation;
  m_thread = std::thread([this, job = std::move(job), generation] { runJob(job, generation); });
  return true;
}

bool ScanWorker::running() const {
  const std::lock_guard lock(m_mutex);
  return m_running;
}

void ScanWorker::waitUntilEnded() {
  std::unique_lock lock(m_mutex);
  m_endedCondition.wait(lock, [this] { return !m_running; });
}

void ScanWorker::post(std::uint64_t generation, std::function<void()> call) {
  QMetaObject::invokeMethod(
      this, [this, generation, call = std::move(call)] {
        if (generation == m_generation) call();
      },
      Qt::QueuedConnection);
}

void ScanWorker::runJob(const Job& job, std::uint64_t generation) {
  ThrottledProgress progress(*this, generation);
  job(progress);
  progress.flush();
  // Posted before the waiters wake: a stop thread that waits here ends after
  // this, so the window sees the scan's end before the stop's.
  post(generation, [this] {
    join();
    emit ended();
  });
  {
    const std::lock_guard lock(m_mutex);
    m_running = false;
  }
  m_endedCondition.notify_all();
}

void ScanWorker::join() {
  if (m_thread.joinable()) m_thread.join();
}

}  // namespace dravel::app
