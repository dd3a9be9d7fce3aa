#include "SaveCommand.h"

#include <QFileDialog>
#include <QLabel>

#include "FrameTexts.h"
#include "SearchFrame.h"
#include "controls/MessageService.h"

namespace dravel::app {
namespace {

using controls::MessageService;

SaveCommand::FolderChooser& folderChooser() {
  static SaveCommand::FolderChooser installed;
  return installed;
}

SaveCommand::DestinationCheck& destinationCheck() {
  static SaveCommand::DestinationCheck installed;
  return installed;
}

QString askForFolder(QWidget* owner, const QString& caption) {
  if (const auto& chooser = folderChooser()) return chooser(owner, caption);
  return QFileDialog::getExistingDirectory(owner, caption);
}

platform::DestinationProblem check(const std::filesystem::path& folder, const std::string& source) {
  if (const auto& installed = destinationCheck()) return installed(folder, source);
  return platform::checkDestination(folder, source);
}

}  // namespace

// The count's totals, on the counting thread.
class SaveCommand::CountSink final : public results::CountProgress {
 public:
  explicit CountSink(SaveCommand& command) : m_command(command) {}
  void counted(std::uint64_t files, std::uint64_t folders) override {
    {
      const std::lock_guard lock(m_command.m_mutex);
      m_command.m_countedFiles = files;
      m_command.m_countedFolders = folders;
    }
    m_command.postReport();
  }

 private:
  SaveCommand& m_command;
};

// The save's progress, on the saving thread.
class SaveCommand::SaveSink final : public results::SaveProgress {
 public:
  explicit SaveSink(SaveCommand& command) : m_command(command) {}
  void gathering(bool on) override {
    update([&](SaveReport& r) { r.gathering = on; });
  }
  void fileStarted(const std::string& name, const std::filesystem::path& folder, std::uint64_t size) override {
    update([&](SaveReport& r) {
      r.fileName = QString::fromStdString(name);
      r.filePath = QString::fromStdString(folder.string());
      r.fileWritten = 0;
      r.fileSize = size;
    });
  }
  void fileBytes(std::uint64_t written, std::uint64_t size) override {
    update([&](SaveReport& r) {
      r.fileWritten = written;
      r.fileSize = size;
    });
  }
  void totals(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t foldersDone,
              std::uint64_t foldersTotal) override {
    update([&](SaveReport& r) {
      r.filesDone = filesDone;
      r.filesTotal = filesTotal;
      r.foldersDone = foldersDone;
      r.foldersTotal = foldersTotal;
    });
  }

 private:
  template <typename F>
  void update(F change) {
    {
      const std::lock_guard lock(m_command.m_mutex);
      change(m_command.m_report);
    }
    m_command.postReport();
  }
  SaveCommand& m_command;
};

void SaveCommand::setFolderChooser(FolderChooser chooser) { folderChooser() = std::move(chooser); }
void SaveCommand::setDestinationCheck(DestinationCheck installed) { destinationCheck() = std::move(installed); }

SaveCommand::SaveCommand(SearchFrame& frame) : m_frame(frame) {}

SaveCommand::~SaveCommand() { shutdown(); }

bool SaveCommand::start(std::shared_ptr<results::RecoveredResult> result, results::SaveRequest request) {
  if (running() || result == nullptr) return false;
  auto destination = chooseDestination(result->sourceDevicePath());
  if (!destination) return false;
  m_result = std::move(result);
  m_destination = std::move(*destination);
  startCount(std::move(request));
  return true;
}

// A refused folder brings the chooser back: the user came to save and most
// likely wants to pick another place, not to start over.
std::optional<std::filesystem::path> SaveCommand::chooseDestination(const std::string& sourceDevicePath) {
  for (;;) {
    const QString chosen = askForFolder(&m_frame, texts::kBrowseDestination);
    if (chosen.isEmpty()) return std::nullopt;
    const std::filesystem::path folder(chosen.toStdString());
    switch (check(folder, sourceDevicePath)) {
      case platform::DestinationProblem::None: return folder;
      case platform::DestinationProblem::Invalid:
        MessageService::information(&m_frame, texts::kInvalidDestination);
        break;
      case platform::DestinationProblem::OnSourceDrive:
        MessageService::information(&m_frame, texts::kDestinationOnSourceDrive);
        break;
    }
  }
}

// ---- counting ---------------------------------------------------------------

void SaveCommand::startCount(results::SaveRequest request) {
  m_stage = Stage::Counting;
  m_countStop = false;
  m_abort = false;
  m_skip = false;
  {
    const std::lock_guard lock(m_mutex);
    m_report = {};
    m_countedFiles = m_countedFolders = 0;
    m_reportPosted = false;
  }
  m_frame.setEnabled(false);
  if (!m_counting) {
    m_counting = std::make_unique<CountingWindow>();
    connect(m_counting.get(), &CountingWindow::stopRequested, this, [this] { m_countStop = true; });
  }
  m_counting->setTotals(0, 0);
  showAbove(m_counting.get(), &m_frame);
  m_thread = std::thread([this, result = m_result, request = std::move(request)] {
    CountSink sink(*this);
    auto plan = std::make_shared<results::SavePlan>();
    try {
      *plan = results::planSave(*result, request, m_countStop, sink);
    } catch (const std::exception&) {
      plan->stopped = true;  // out of memory: nothing is saved, the window stays
    }
    QMetaObject::invokeMethod(this, [this, plan] { countEnded(plan); }, Qt::QueuedConnection);
  });
}

void SaveCommand::countEnded(std::shared_ptr<results::SavePlan> plan) {
  if (closing()) return;  // shut down: nothing more is shown
  join();
  m_counting->hide();
  if (plan->stopped) {
    end();
    emit finished();
    return;
  }
  m_frame.countLine()->setText(texts::totalToSave(plan->files.size(), plan->folders.size()));
  startSave(std::move(plan));
}

// ---- saving -------------------------------------------------------------------

void SaveCommand::startSave(std::shared_ptr<results::SavePlan> plan) {
  m_stage = Stage::Saving;
  if (!m_saving) {
    m_saving = std::make_unique<SavingWindow>();
    connect(m_saving.get(), &SavingWindow::stopRequested, this, &SaveCommand::stopSaving);
    connect(m_saving.get(), &SavingWindow::skipRequested, this, [this] { m_skip = true; });
  }
  SaveReport first;
  first.filesTotal = plan->files.size();
  first.foldersTotal = plan->folders.size();
  {
    const std::lock_guard lock(m_mutex);
    m_report = first;
  }
  m_saving->showReport(first);
  showAbove(m_saving.get(), &m_frame);
  m_thread = std::thread([this, result = m_result, plan, destination = m_destination] {
    results::SaveControl control;
    control.abort = &m_abort;
    control.skip = &m_skip;
    control.ask = [this](const std::filesystem::path& target, const std::filesystem::path& suggested) {
      return ask(target, suggested);
    };
    SaveSink sink(*this);
    results::SaveSummary summary;
    try {
      summary = results::runSave(*result, *plan, destination, control, sink);
    } catch (const std::exception& error) {
      summary.aborted = true;
      summary.failures.push_back(std::string("the save ended early: ") + error.what());
    }
    QMetaObject::invokeMethod(this, [this, summary] { saveEnded(summary); }, Qt::QueuedConnection);
  });
}

void SaveCommand::saveEnded(const results::SaveSummary& summary) {
  if (closing()) return;
  join();
  takeReport();  // the last state, which a coalesced update may not have brought yet
  m_summary = summary;
  m_saving->hide();
  if (m_question) m_question->hide();
  end();
  m_frame.countLine()->setText(texts::savedTotals(summary.filesWritten, summary.foldersCreated));
  // Told once the window is usable again, so that the box is not disabled with it.
  if (summary.diskFull) MessageService::information(&m_frame, texts::kDestinationFull);
  emit finished();
}

void SaveCommand::end() {
  m_stage = Stage::Idle;
  m_result.reset();
  m_frame.setEnabled(true);
}

bool SaveCommand::closing() {
  const std::lock_guard lock(m_mutex);
  return m_closing;
}

void SaveCommand::stopSaving() {
  m_abort = true;
  answerQuestion({results::ExistsChoice::Cancel, false, {}});
}

void SaveCommand::shutdown() {
  m_countStop = true;
  m_abort = true;
  {
    const std::lock_guard lock(m_mutex);
    m_closing = true;
    if (m_pendingAnswer) {
      m_pendingAnswer->set_value({results::ExistsChoice::Cancel, false, {}});
      m_pendingAnswer.reset();
    }
  }
  join();
  for (QDialog* window : {static_cast<QDialog*>(m_counting.get()), static_cast<QDialog*>(m_saving.get()),
                          static_cast<QDialog*>(m_question.get())}) {
    if (window != nullptr) window->hide();
  }
  if (m_stage != Stage::Idle) {
    m_stage = Stage::Idle;
    m_frame.setEnabled(true);
  }
  m_result.reset();
}

void SaveCommand::join() {
  if (m_thread.joinable()) m_thread.join();
}

// ---- the file-exists question -------------------------------------------------

// On the saving thread: blocks until the GUI answers, or until Stop or the
// window's end answers Cancel for it; nothing else holds it.
results::ExistsAnswer SaveCommand::ask(const std::filesystem::path& target, const std::filesystem::path& suggested) {
  std::future<results::ExistsAnswer> answer;
  {
    const std::lock_guard lock(m_mutex);
    if (m_closing || m_abort) return {results::ExistsChoice::Cancel, false, {}};
    m_pendingAnswer.emplace();
    answer = m_pendingAnswer->get_future();
  }
  QMetaObject::invokeMethod(this, [this, target, suggested] { showQuestion(target, suggested); },
                            Qt::QueuedConnection);
  return answer.get();
}

void SaveCommand::showQuestion(const std::filesystem::path& target, const std::filesystem::path& suggested) {
  {
    const std::lock_guard lock(m_mutex);
    if (!m_pendingAnswer || m_closing) return;  // answered already (Stop)
  }
  m_question = std::make_unique<FileExistsDialog>(target, suggested);
  connect(m_question.get(), &FileExistsDialog::answered, this,
          [this](const results::ExistsAnswer& answer) { answerQuestion(answer); });
  showAbove(m_question.get(), m_saving.get());
}

void SaveCommand::answerQuestion(const results::ExistsAnswer& answer) {
  {
    const std::lock_guard lock(m_mutex);
    if (!m_pendingAnswer) return;
    m_pendingAnswer->set_value(answer);
    m_pendingAnswer.reset();
  }
  if (m_question) m_question->hide();
}

// ---- progress -------------------------------------------------------------------

void SaveCommand::postReport() {
  {
    const std::lock_guard lock(m_mutex);
    if (m_reportPosted) return;
    m_reportPosted = true;
  }
  QMetaObject::invokeMethod(this, [this] { takeReport(); }, Qt::QueuedConnection);
}

void SaveCommand::takeReport() {
  SaveReport report;
  std::uint64_t files = 0;
  std::uint64_t folders = 0;
  {
    const std::lock_guard lock(m_mutex);
    m_reportPosted = false;
    report = m_report;
    files = m_countedFiles;
    folders = m_countedFolders;
  }
  if (m_stage == Stage::Counting && m_counting) m_counting->setTotals(files, folders);
  if (m_stage == Stage::Saving && m_saving) m_saving->showReport(report);
}

}  // namespace dravel::app
