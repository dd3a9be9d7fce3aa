#pragma once
// The frame every search window is built on: the drive tree and the
// information list, Back and Next, a progress area with Stop, and after a
// scan the result tree with its content list. Three phases (drive selection,
// scanning, results) with the same guards in every window; the windows add
// their own controls and their run.

#include <QDialog>
#include <QPointer>
#include <atomic>
#include <memory>
#include <optional>

#include "DriveTreeView.h"
#include "controls/CHideColumn.h"
#include "partitions/ScanStart.h"
#include "storage/RecoveryMode.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QThread;
class QVBoxLayout;
class QGroupBox;

namespace dravel::controls {
class CColorStatic;
class CTreeClass;
}  // namespace dravel::controls

namespace dravel::app {

enum class Phase { DriveSelection, Scanning, Results };

// What runs or exists beside the window; the workers of the scans, listings
// and logs set these, and every guard reads them.
struct FrameActivity {
  int resultCount = 0;            // 0 until a scan starts or a log is loaded
  bool scanRunning = false;
  bool listingRunning = false;
  bool logLoaderRunning = false;
  bool logLoaded = false;         // the result came from a recovery log
  bool partitionSearchRunning = false;
};

class SearchFrame : public QDialog {
  Q_OBJECT
 public:
  SearchFrame(storage::RecoveryMode mode, const QString& title, QWidget* parent = nullptr);
  ~SearchFrame() override;

  [[nodiscard]] storage::RecoveryMode mode() const { return m_mode; }
  [[nodiscard]] Phase phase() const { return m_phase; }
  [[nodiscard]] FrameActivity& activity() { return m_activity; }
  [[nodiscard]] bool fillRunning() const { return m_fillRunning; }
  [[nodiscard]] const std::optional<partitions::ScanStart>& lastScanStart() const { return m_lastScanStart; }
  [[nodiscard]] const DriveTreeView& driveTreeView() const { return m_driveView; }

  [[nodiscard]] controls::CTreeClass* driveTree() const { return m_driveTree; }
  [[nodiscard]] controls::CTreeClass* resultTree() const { return m_resultTree; }
  [[nodiscard]] controls::CHideColumn* infoList() const { return m_list; }
  [[nodiscard]] QLabel* heading() const;
  // What the device layer could not use at the last fill (hidden when nothing).
  [[nodiscard]] QLabel* deviceProblems() const { return m_problems; }
  [[nodiscard]] QString hintText() const;
  [[nodiscard]] QWidget* progressArea() const;
  // The stage text beside "Searching from sectors" and the scan's bar.
  [[nodiscard]] QLabel* progressText() const { return m_progressText; }
  [[nodiscard]] QProgressBar* progressBar() const { return m_progressBar; }
  // The status field: the count line of the content list, and other short news.
  [[nodiscard]] QLabel* countLine() const { return m_countLine; }
  // The path shown in the "Current Folder" box.
  [[nodiscard]] QLabel* currentFolderPath() const { return m_currentFolderPath; }

  // Rebuilds the drive tree on a worker; `driveTreeFilled` follows.
  void fillTree();
  void refreshTree();

  // The commands of the window's buttons.
  void next();
  void back();
  void stop();
  void save();
  // The guards every Save command passes first (no result; a scan or a
  // listing running); false after their message.
  [[nodiscard]] bool saveAllowed();
  void saveLog();
  void loadLog();
  void searchMorePartitions();

  // The phase changes a run makes; the scans of later work call them.
  void enterScanningPhase();
  void enterResultsPhase();

 signals:
  void driveTreeFilled();
  void scanRequested();
  void stopHandled();
  // Back from the drive selection: the main window shows again.
  void returnedToMainWindow();
  // The user confirmed leaving the program from this window.
  void exitRequested();

 protected:
  // Next on a drive item: fills the selection and hands it to the run.
  virtual void startFromSelection();
  // The window's run; false while the mode has none.
  virtual bool startRun(const partitions::ScanStart& start);
  // Runs on the stop thread: ends the scan in an orderly way. No widgets
  // here. A window that overrides it waits for its own workers in its
  // destructor, before this frame's part is gone.
  virtual void stopScan();
  // A drive item was shown in the information list.
  virtual void drivePanelShown(DriveItemKind kind, const QTreeWidgetItem* item);
  // Save with the guards passed: the window saves what is checked in its tree.
  virtual void saveSelection() {}
  // The content-list columns the window uses after Next.
  [[nodiscard]] virtual QList<controls::ListColumn> contentColumns() const;

  // The selection at scan start for the selected drive item, with the
  // whole-disk confirmation when `confirmWholeDisk`; nullopt when the user
  // went back or a message was shown.
  [[nodiscard]] std::optional<partitions::ScanStart> takeSelection(bool confirmWholeDisk, bool requireSupported);
  void setLastScanStart(partitions::ScanStart start) { m_lastScanStart = std::move(start); }
  [[nodiscard]] QString selectionDriveKind() const { return m_driveKind; }
  [[nodiscard]] int selectedDiskNumber() const { return m_selectedDisk; }
  [[nodiscard]] QVBoxLayout* extraArea() const { return m_extraArea; }
  [[nodiscard]] QPushButton* nextButton() const { return m_next; }
  [[nodiscard]] bool guardGroupNodeSelected();
  [[nodiscard]] std::vector<storage::InfoRow> panelRows() const;
  // Blocks until a running stop thread has ended: a window whose stopScan()
  // uses its own members calls this first in its destructor.
  void waitForStopThread();

  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

  std::atomic<bool> m_stopFlag{false};

 private:
  void buildLayout();
  QWidget* buildButtonRow();
  QWidget* buildProgressArea();
  void applyFill(std::shared_ptr<const DriveListingResult> listing);
  void showDeviceProblems(const std::vector<std::string>& problems);
  bool runNoDeviceStep();
  void driveItemSelected();
  void showInfoRows(const std::vector<storage::InfoRow>& rows);
  void showDiskList();
  void hideInfoList(const QString& headingText);
  void setNameValueColumns(int valueWidth);
  void enterDriveSelectionPhase();
  void clearResult();
  void afterGuardMessage();
  void stopFinished();

  storage::RecoveryMode m_mode;
  Phase m_phase = Phase::DriveSelection;
  FrameActivity m_activity;
  bool m_fillRunning = false;
  std::optional<partitions::ScanStart> m_lastScanStart;
  QString m_driveKind;
  int m_selectedDisk = -1;
  QThread* m_stopThread = nullptr;
  QThread* m_fillThread = nullptr;

  controls::CTreeClass* m_driveTree = nullptr;
  controls::CTreeClass* m_resultTree = nullptr;
  DriveTreeView m_driveView{nullptr};
  QStackedWidget* m_treeStack = nullptr;
  controls::CHideColumn* m_list = nullptr;
  QLabel* m_heading = nullptr;
  QLabel* m_problems = nullptr;
  controls::CColorStatic* m_hint = nullptr;
  QVBoxLayout* m_extraArea = nullptr;
  QWidget* m_extraWidget = nullptr;
  QGroupBox* m_progressGroup = nullptr;
  QLabel* m_progressText = nullptr;
  QProgressBar* m_progressBar = nullptr;
  QLabel* m_countLine = nullptr;
  QGroupBox* m_currentFolder = nullptr;
  QLabel* m_currentFolderPath = nullptr;
  QPushButton* m_refresh = nullptr;
  QPushButton* m_searchMore = nullptr;
  QPushButton* m_stopSearching = nullptr;
  QPushButton* m_save = nullptr;
  QPushButton* m_loadLog = nullptr;
  QPushButton* m_saveLog = nullptr;
  QPushButton* m_about = nullptr;
  QPushButton* m_help = nullptr;
  QPushButton* m_back = nullptr;
  QPushButton* m_next = nullptr;
  QPushButton* m_stop = nullptr;
};

}  // namespace dravel::app
