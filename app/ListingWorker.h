#pragma once
// Lists one folder at a time on a thread of its own. The listing goes to
// the GUI thread in batches (rows and the renames of child folders), at
// most every 50 ms, then `ended`. Cancelling raises the population stop,
// which the listing polls; the thread is always left to end by itself.

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "basic/BasicSearch.h"

namespace dravel::app {

struct FolderChange {
  results::NodeId node = results::kNoNode;
  QString name;
  bool deleted = false;
};

struct ListingBatch {
  std::vector<FolderChange> changes;  // apply before the rows
  std::vector<results::ContentRow> rows;
};

class ListingWorker : public QObject {
  Q_OBJECT
 public:
  // Returns false when the population stop ended the listing early.
  using Job = std::function<bool(const std::atomic<bool>& populationStop, basic::ListingSink& sink)>;

  explicit ListingWorker(QObject* parent = nullptr);
  // Cancels a running listing and waits for it.
  ~ListingWorker() override;
  ListingWorker(const ListingWorker&) = delete;
  ListingWorker& operator=(const ListingWorker&) = delete;

  // Starts a listing; one still running is cancelled and waited for first,
  // and nothing it had not delivered yet arrives afterwards. GUI thread.
  void start(Job job);
  // Raises the population stop of the running listing.
  void cancel();
  void cancelAndWait();
  [[nodiscard]] bool running() const { return m_running; }

 signals:
  void batchArrived(const ListingBatch& batch);
  void ended(bool complete);

 private:
  friend class BatchingSink;
  void post(std::uint64_t generation, std::function<void()> call);
  void join();

  std::thread m_thread;
  std::atomic<bool> m_populationStop{false};
  bool m_running = false;          // GUI thread: from start() until `ended`
  std::uint64_t m_generation = 0;  // GUI thread only
};

}  // namespace dravel::app
