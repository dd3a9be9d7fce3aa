#include "ListingWorker.h"

#include <chrono>
#include <utility>

namespace dravel::app {

// The listing thread's sink: collects rows and renames and posts them as
// one batch every 50 ms or 500 rows, and the rest at the end.
class BatchingSink final : public basic::ListingSink {
 public:
  BatchingSink(ListingWorker& worker, std::uint64_t generation) : m_worker(worker), m_generation(generation) {}

  void folderChanged(results::NodeId node, const std::string& name, bool deleted) override {
    m_batch.changes.push_back(FolderChange{node, QString::fromStdString(name), deleted});
    if (due()) flush();
  }

  void row(const results::ContentRow& row) override {
    m_batch.rows.push_back(row);
    if (due() || m_batch.rows.size() >= kMaxRows) flush();
  }

  void flush() {
    if (!m_batch.changes.empty() || !m_batch.rows.empty()) {
      m_worker.post(m_generation, [w = &m_worker, batch = std::exchange(m_batch, {})] { emit w->batchArrived(batch); });
    }
    m_lastFlush = Clock::now();
  }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kInterval = std::chrono::milliseconds(50);
  static constexpr std::size_t kMaxRows = 500;

  [[nodiscard]] bool due() const { return Clock::now() - m_lastFlush >= kInterval; }

  ListingWorker& m_worker;
  std::uint64_t m_generation;
  ListingBatch m_batch;
  Clock::time_point m_lastFlush = Clock::now();
};

ListingWorker::ListingWorker(QObject* parent) : QObject(parent) {}

ListingWorker::~ListingWorker() { cancelAndWait(); }

void ListingWorker::start(Job job) {
  cancelAndWait();
  m_populationStop = false;
  m_running = true;
  const std::uint64_t generation = ++m_generation;
  m_thread = std::thread([this, job = std::move(job), generation] {
    BatchingSink sink(*this, generation);
    const bool complete = job(m_populationStop, sink);
    sink.flush();
    post(generation, [this, complete] {
      join();
      m_running = false;
      emit ended(complete);
    });
  });
}

void ListingWorker::cancel() {
  if (m_running) m_populationStop = true;
}

void ListingWorker::cancelAndWait() {
  m_populationStop = true;
  join();
  // What the ended listing posted but was not handled yet is dropped.
  ++m_generation;
  m_running = false;
}

void ListingWorker::post(std::uint64_t generation, std::function<void()> call) {
  QMetaObject::invokeMethod(
      this, [this, generation, call = std::move(call)] {
        if (generation == m_generation) call();
      },
      Qt::QueuedConnection);
}

void ListingWorker::join() {
  if (m_thread.joinable()) m_thread.join();
}

}  // namespace dravel::app
