#pragma once
// The Basic Search window: a FAT16, FAT32 or NTFS partition, volume or whole
// disk, walked through its own file-system structures.

#include <functional>
#include <memory>

#include "SearchFrame.h"
#include "basic/BasicSearch.h"

namespace dravel::app {

class ResultBrowser;
class ResultCommands;
class ResultTreeView;
class ScanProgressPanel;
class ScanWorker;
struct InsertedFolder;

class CBasicSearch : public SearchFrame {
  Q_OBJECT
 public:
  // Makes the engine of a run; nullptr when Basic Search does not read the
  // file system.
  using EngineFactory = std::function<std::unique_ptr<basic::BasicSearch>(const basic::ScanInput&)>;

  explicit CBasicSearch(QWidget* parent = nullptr);
  // Stops the scan, the listing, a save and an Open, and waits for them.
  ~CBasicSearch() override;

  // Runs started afterwards take their engines from `factory`; an empty one
  // restores BasicSearch::create on the device (tests hand in their own).
  static void setEngineFactory(EngineFactory factory);

  [[nodiscard]] ResultTreeView& resultView() const { return *m_view; }
  [[nodiscard]] ResultBrowser& resultBrowser() const { return *m_browser; }
  [[nodiscard]] ResultCommands& resultCommands() const { return *m_commands; }
  [[nodiscard]] ScanProgressPanel& scanProgress() const { return *m_progress; }
  // Set when the last scan ended with Root and at most an empty orphan folder.
  [[nodiscard]] bool nothingFound() const { return m_nothingFound; }

 protected:
  void startFromSelection() override;
  bool startRun(const partitions::ScanStart& start) override;
  void stopScan() override;
  void saveSelection() override;

 private:
  void scanEnded();
  void showFolders(const QList<InsertedFolder>& folders);

  std::unique_ptr<ResultTreeView> m_view;
  std::unique_ptr<ResultBrowser> m_browser;
  std::unique_ptr<ResultCommands> m_commands;
  std::unique_ptr<ScanWorker> m_scanWorker;
  ScanProgressPanel* m_progress = nullptr;
  std::shared_ptr<basic::BasicSearch> m_engine;
  basic::ScanOutcome m_outcome;  // written by the scan thread, read after it ended
  bool m_nothingFound = false;
};

}  // namespace dravel::app
