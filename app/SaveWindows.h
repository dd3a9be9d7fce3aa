#pragma once
// The small windows of saving and opening recovered files: the counting
// window, the saving window with its bars, the file-exists question and the
// window shown while a file is copied for opening. The progress windows are
// windows of their own (kept above the search window), not its children:
// the search window is disabled while they show and would take its children
// with it. GUI thread only.

#include <QDialog>
#include <cstdint>
#include <filesystem>

#include "results/SaveJob.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace dravel::app {

// Centres `window` on `owner`'s window, keeps it above it and shows it.
void showAbove(QDialog* window, const QWidget* owner);

// "Calculating Total Number of Files, Please Wait ..." with the running
// totals and Stop.
class CountingWindow : public QDialog {
  Q_OBJECT
 public:
  CountingWindow();
  void setTotals(std::uint64_t files, std::uint64_t folders);
  [[nodiscard]] QLabel* files() const { return m_files; }
  [[nodiscard]] QLabel* folders() const { return m_folders; }

 signals:
  // Stop, or the window's close box.
  void stopRequested();

 protected:
  void reject() override;

 private:
  QLabel* m_files = nullptr;
  QLabel* m_folders = nullptr;
};

// What the saving window shows; the save's progress sink fills it on the
// saving thread, the window reads the latest one.
struct SaveReport {
  QString fileName;
  QString filePath;
  std::uint64_t fileWritten = 0;
  std::uint64_t fileSize = 0;
  std::uint64_t filesDone = 0;
  std::uint64_t filesTotal = 0;
  std::uint64_t foldersDone = 0;
  std::uint64_t foldersTotal = 0;
  bool gathering = false;
};

// "Saving Files...": the current file, its bar, the totals' bars, Stop and Skip.
class SavingWindow : public QDialog {
  Q_OBJECT
 public:
  SavingWindow();
  void showReport(const SaveReport& report);

  [[nodiscard]] QLineEdit* fileName() const { return m_fileName; }
  [[nodiscard]] QLineEdit* filePath() const { return m_filePath; }
  [[nodiscard]] QLabel* fileBytes() const { return m_fileBytes; }
  [[nodiscard]] QLabel* filesCount() const { return m_filesCount; }
  [[nodiscard]] QLabel* foldersCount() const { return m_foldersCount; }
  [[nodiscard]] QLabel* gathering() const { return m_gathering; }
  [[nodiscard]] QProgressBar* fileBar() const { return m_fileBar; }
  [[nodiscard]] QProgressBar* filesBar() const { return m_filesBar; }
  [[nodiscard]] QProgressBar* foldersBar() const { return m_foldersBar; }

 signals:
  // Stop, or the window's close box.
  void stopRequested();
  void skipRequested();

 protected:
  void reject() override;

 private:
  QLineEdit* m_fileName = nullptr;
  QLineEdit* m_filePath = nullptr;
  QLabel* m_fileBytes = nullptr;
  QLabel* m_filesCount = nullptr;
  QLabel* m_foldersCount = nullptr;
  QLabel* m_gathering = nullptr;
  QProgressBar* m_fileBar = nullptr;
  QProgressBar* m_filesBar = nullptr;
  QProgressBar* m_foldersBar = nullptr;
};

// "Information": a target exists. Overwrite, Skip, Rename (to the edited
// "New File Name") or Cancel, optionally for every later existing file.
// Shown application-modal without a loop of its own; `answered` follows.
class FileExistsDialog : public QDialog {
  Q_OBJECT
 public:
  FileExistsDialog(const std::filesystem::path& target, const std::filesystem::path& suggested);

  [[nodiscard]] QLineEdit* newName() const { return m_newName; }
  [[nodiscard]] QCheckBox* applyToAll() const { return m_applyToAll; }
  // What the user answered; Cancel until a button was pressed.
  [[nodiscard]] const results::ExistsAnswer& answer() const { return m_answer; }

 signals:
  void answered(const results::ExistsAnswer& answer);

 protected:
  void reject() override;

 private:
  void answer(results::ExistsChoice choice);

  std::filesystem::path m_target;
  std::filesystem::path m_suggested;
  QLineEdit* m_newName = nullptr;
  QCheckBox* m_applyToAll = nullptr;
  results::ExistsAnswer m_answer{results::ExistsChoice::Cancel, false, {}};
  bool m_done = false;
};

// "Opening File : " and the file's size, while its temporary copy is made.
class OpeningWindow : public QDialog {
  Q_OBJECT
 public:
  explicit OpeningWindow(std::uint64_t size);

 protected:
  void reject() override {}  // the copy cannot be stopped; the window goes when it is made
};

}  // namespace dravel::app
