#pragma once
// Runs one scan at a time on a thread of its own and brings its progress to
// the GUI thread. The scan never touches a widget: what it reports is
// throttled (an NTFS pass reports once per record) and posted to this
// object, which emits it on the GUI thread. A scan ends when its job
// returns; the job polls the window's stop flag, so ending it early is the
// stop flag's business, never the thread's.

#include <QList>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "basic/ScanControl.h"
#include "results/FolderRecord.h"

namespace dravel::app {

// A folder the scan put into its tree, copied for the GUI thread.
struct InsertedFolder {
  results::NodeId node = results::kNoNode;
  results::NodeId parent = results::kNoNode;
  QString text;
};

class ScanWorker : public QObject {
  Q_OBJECT
 public:
  using Job = std::function<void(basic::ScanProgress& progress)>;

  explicit ScanWorker(QObject* parent = nullptr);
  // Waits for a running job: whoever owns the worker raises the stop flag first.
  ~ScanWorker() override;
  ScanWorker(const ScanWorker&) = delete;
  ScanWorker& operator=(const ScanWorker&) = delete;

  // Starts the job; false while one runs. GUI thread.
  bool start(Job job);
  // True from start() until the job has returned.
  [[nodiscard]] bool running() const;
  // Blocks until the job has returned; returns at once when none runs. Any
  // thread (the stop thread waits here).
  void waitUntilEnded();

 signals:
  // All on the GUI thread, in the order the scan reported them; `ended` comes last.
  void stageChanged(basic::ScanStage stage);
  void totalChanged(quint64 shownTotal, quint64 barLow, quint64 barHigh);
  void positionChanged(quint64 barPosition, quint64 shownNumber);
  void foldersInserted(const QList<InsertedFolder>& folders);
  void ended();

 private:
  friend class ThrottledProgress;
  // Runs `call` on the GUI thread unless a newer scan has started meanwhile.
  void post(std::uint64_t generation, std::function<void()> call);
  void runJob(const Job& job, std::uint64_t generation);
  void join();

  std::thread m_thread;
  mutable std::mutex m_mutex;
  std::condition_variable m_endedCondition;
  bool m_running = false;
  std::uint64_t m_generation = 0;  // GUI thread only
};

}  // namespace dravel::app
