#include "OpenCommand.h"

#include <QApplication>

#include "DesktopOpen.h"
#include "FrameTexts.h"
#include "SearchFrame.h"
#include "controls/MessageService.h"
#include "platform/System.h"
#include "platform/TemporaryCopies.h"
#include "results/SaveJob.h"

namespace dravel::app {
namespace {

std::filesystem::path& temporaryBase() {
  static std::filesystem::path base;
  return base;
}

// The copy of one row in this user's own folder; nullopt when the folder
// cannot be trusted or the content cannot be read.
std::optional<std::filesystem::path> makeCopy(results::RecoveredResult& result, const results::ContentRow& row) {
  const auto base = temporaryBase().empty() ? platform::temporaryFolder() : temporaryBase();
  const auto folder = platform::temporaryCopiesFolder(base);
  if (!platform::prepareTemporaryCopiesFolder(folder)) return std::nullopt;
  try {
    return results::writeTemporaryCopy(result, row, folder);
  } catch (const std::exception&) {
    return std::nullopt;  // out of memory or the like: said as "Does not exist."
  }
}

}  // namespace

void OpenCommand::setTemporaryBase(std::filesystem::path base) { temporaryBase() = std::move(base); }

OpenCommand::OpenCommand(SearchFrame& frame) : m_frame(frame) {}

OpenCommand::~OpenCommand() { shutdown(); }

bool OpenCommand::start(std::shared_ptr<results::RecoveredResult> result, const results::ContentRow& row) {
  if (running() || m_closing || result == nullptr) return false;
  m_window = std::make_unique<OpeningWindow>(row.size);
  m_frame.setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  showAbove(m_window.get(), &m_frame);
  m_thread = std::thread([this, result = std::move(result), row] {
    auto copy = makeCopy(*result, row);
    QMetaObject::invokeMethod(this, [this, copy] { copyEnded(copy); }, Qt::QueuedConnection);
  });
  return true;
}

void OpenCommand::copyEnded(const std::optional<std::filesystem::path>& copy) {
  if (m_closing) return;
  m_thread.join();
  m_window->hide();
  m_frame.setEnabled(true);
  QApplication::restoreOverrideCursor();
  bool opened = false;
  if (copy) {
    opened = openWithDesktop(QString::fromStdString(copy->string()), &m_frame);
  } else {
    controls::MessageService::information(&m_frame, texts::kDoesNotExist);
  }
  emit finished(opened);
}

// A copy has no stop: it is bounded by the file's size, and the window waits for it.
void OpenCommand::shutdown() {
  m_closing = true;
  if (!m_thread.joinable()) return;
  m_thread.join();
  if (m_window) m_window->hide();
  m_frame.setEnabled(true);
  QApplication::restoreOverrideCursor();
}

}  // namespace dravel::app
