#pragma once
// Opening a recovered file from the content list: its content is copied on
// a worker into this user's temporary-copies folder behind the "Opening
// File" window, with the search window disabled, and the copy is handed to
// the desktop. One Open at a time.

#include <QObject>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "SaveWindows.h"
#include "results/RecoveredResult.h"

namespace dravel::app {

class SearchFrame;

class OpenCommand : public QObject {
  Q_OBJECT
 public:
  // Where the temporary-copies folder is made (tests); empty restores the
  // system's temporary folder.
  static void setTemporaryBase(std::filesystem::path base);

  explicit OpenCommand(SearchFrame& frame);
  // Waits for a running copy.
  ~OpenCommand() override;
  OpenCommand(const OpenCommand&) = delete;
  OpenCommand& operator=(const OpenCommand&) = delete;

  // Starts copying a file row; false while an Open runs.
  bool start(std::shared_ptr<results::RecoveredResult> result, const results::ContentRow& row);
  [[nodiscard]] bool running() const { return m_thread.joinable(); }
  // Waits for a running copy and shows nothing more (the window is going).
  void shutdown();

  // Null while not shown.
  [[nodiscard]] OpeningWindow* window() const {
    return m_window != nullptr && m_window->isVisible() ? m_window.get() : nullptr;
  }

 signals:
  // The copy was made (or not) and handed to the desktop; the window is enabled again.
  void finished(bool opened);

 private:
  void copyEnded(const std::optional<std::filesystem::path>& copy);

  SearchFrame& m_frame;
  std::thread m_thread;
  std::unique_ptr<OpeningWindow> m_window;
  bool m_closing = false;
};

}  // namespace dravel::app
