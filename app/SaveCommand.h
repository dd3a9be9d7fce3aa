#pragma once
// Saving recovered items from a search window: the destination chosen and
// checked, the selection counted on a worker behind the counting window,
// then written on a worker behind the saving window, with the file-exists
// question asked of the user in between. The search window is disabled
// from the count to the end of the save. Every window that saves a result
// uses one.

#include <QObject>
#include <QString>
#include <atomic>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "SaveWindows.h"
#include "platform/SaveDestination.h"
#include "results/SaveJob.h"

namespace dravel::app {

class SearchFrame;

class SaveCommand : public QObject {
  Q_OBJECT
 public:
  // The destination folder; empty when the user cancelled.
  using FolderChooser = std::function<QString(QWidget* owner, const QString& caption)>;
  using DestinationCheck = std::function<platform::DestinationProblem(const std::filesystem::path& folder,
                                                                      const std::string& sourceDevicePath)>;
  // Replace the folder dialog and the destination check (tests); empty restores them.
  static void setFolderChooser(FolderChooser chooser);
  static void setDestinationCheck(DestinationCheck check);

  explicit SaveCommand(SearchFrame& frame);
  // Stops a running count or save and waits for it.
  ~SaveCommand() override;
  SaveCommand(const SaveCommand&) = delete;
  SaveCommand& operator=(const SaveCommand&) = delete;

  // Asks for a destination (again after a refused one, until the user
  // cancels) and starts the count. False when a save runs already or no
  // destination was taken.
  bool start(std::shared_ptr<results::RecoveredResult> result, results::SaveRequest request);
  [[nodiscard]] bool running() const { return m_stage != Stage::Idle; }
  // Stops, answers a pending question with Cancel and waits for the worker
  // (the window is going). Nothing is shown afterwards.
  void shutdown();

  // Null while not shown.
  [[nodiscard]] CountingWindow* countingWindow() const { return visible(m_counting.get()); }
  [[nodiscard]] SavingWindow* savingWindow() const { return visible(m_saving.get()); }
  [[nodiscard]] FileExistsDialog* existsDialog() const { return visible(m_question.get()); }
  // The outcome of the last save that ran to its end.
  [[nodiscard]] const results::SaveSummary& lastSummary() const { return m_summary; }

 signals:
  // The count was stopped or the save ended; the window is enabled again.
  void finished();

 private:
  enum class Stage { Idle, Counting, Saving };
  class CountSink;
  class SaveSink;

  template <typename W>
  static W* visible(W* window) {
    return window != nullptr && window->isVisible() ? window : nullptr;
  }

  [[nodiscard]] std::optional<std::filesystem::path> chooseDestination(const std::string& sourceDevicePath);
  void startCount(results::SaveRequest request);
  void countEnded(std::shared_ptr<results::SavePlan> plan);
  void startSave(std::shared_ptr<results::SavePlan> plan);
  void saveEnded(const results::SaveSummary& summary);
  void end();
  void join();
  [[nodiscard]] bool closing();

  // The saving thread's side of the file-exists question.
  results::ExistsAnswer ask(const std::filesystem::path& target, const std::filesystem::path& suggested);
  void showQuestion(const std::filesystem::path& target, const std::filesystem::path& suggested);
  // Answers the pending question, if any (Cancel from Stop and shutdown).
  void answerQuestion(const results::ExistsAnswer& answer);
  void stopSaving();

  // Coalesced progress: the worker keeps the latest values and posts one
  // update while none is pending; the GUI takes the latest when it runs.
  void postReport();
  void takeReport();

  SearchFrame& m_frame;
  Stage m_stage = Stage::Idle;
  std::shared_ptr<results::RecoveredResult> m_result;
  std::filesystem::path m_destination;
  std::thread m_thread;
  std::atomic<bool> m_countStop{false};
  std::atomic<bool> m_abort{false};
  std::atomic<bool> m_skip{false};

  std::mutex m_mutex;  // guards what follows up to m_summary
  SaveReport m_report;
  std::uint64_t m_countedFiles = 0;
  std::uint64_t m_countedFolders = 0;
  bool m_reportPosted = false;
  std::optional<std::promise<results::ExistsAnswer>> m_pendingAnswer;
  bool m_closing = false;

  results::SaveSummary m_summary;  // GUI thread
  std::unique_ptr<CountingWindow> m_counting;
  std::unique_ptr<SavingWindow> m_saving;
  std::unique_ptr<FileExistsDialog> m_question;
};

}  // namespace dravel::app
