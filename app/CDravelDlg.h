#pragma once
// The mode-selection window. It lives for the whole process, opens one search
// window at a time in its own place, and holds what every search window
// shares: the recovery mode and the command-line log path.

#include <QDialog>
#include <QPointer>

#include "CModeless1.h"
#include "SearchFrame.h"
#include "storage/RecoveryMode.h"

class QPushButton;
class QTimer;

namespace dravel::app {

class CDravelDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CDravelDlg(QWidget* parent = nullptr);
  ~CDravelDlg() override;

  [[nodiscard]] storage::RecoveryMode recoveryMode() const { return m_mode; }
  [[nodiscard]] SearchFrame* searchWindow() const { return m_searchWindow; }
  [[nodiscard]] bool launching() const { return m_launching; }
  [[nodiscard]] QPushButton* modeButton(storage::RecoveryMode mode) const;

  void setCommandLineLogPath(const QString& path) { m_commandLineLog = path; }
  [[nodiscard]] const QString& commandLineLogPath() const { return m_commandLineLog; }
  // Set while a recovery log loads in a search window; the mode buttons wait for it.
  void setLogLoading(bool loading) { m_logLoading = loading; }

  // A mode button: opens the search window of `mode` in place of this one.
  void launch(storage::RecoveryMode mode);
  // The exit question, then the clean-up; true when the user confirmed.
  bool exitSequence();
  // The log given on the command line, once the window is shown.
  void openCommandLineLog();

 signals:
  void searchWindowOpened(dravel::app::SearchFrame* window);
  void searchWindowClosed();
  // The user confirmed leaving the program; the application ends its loop.
  void exitConfirmed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  void buildLayout();
  QWidget* buildModeEntry(storage::RecoveryMode mode, const QString& label, const QString& description,
                          const QString& toolTip, const char* name);
  void openSearchWindow();
  void searchWindowBack();
  void finishExit();

  storage::RecoveryMode m_mode = storage::RecoveryMode::Basic;
  QString m_commandLineLog;
  bool m_logLoading = false;
  bool m_launching = false;
  QPointer<SearchFrame> m_searchWindow;
  QPointer<CModeless1> m_loading;
  QTimer* m_loadingTimer = nullptr;
  int m_loadingTicks = 0;
  QPushButton* m_modeButtons[5] = {};
};

}  // namespace dravel::app
