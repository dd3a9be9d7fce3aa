#pragma once
// The Deep Search window: a sector range, narrowed with the range slider,
// searched for the structures of the file system chosen here.

#include "SearchFrame.h"

class QComboBox;
class QLabel;
class QProgressBar;

namespace dravel::controls {
class SectorRangeControl;
}

namespace dravel::app {

// What Next hands to the Deep Search run besides the selection.
struct DeepRunStart {
  partitions::ScanStart start;
  std::uint64_t partitionBase = 0;  // the NTFS walk's cluster 0
  std::uint64_t driveSize = 0;      // sectors; for a partition its end sector
};

class CDeepSearch : public SearchFrame {
  Q_OBJECT
 public:
  explicit CDeepSearch(QWidget* parent = nullptr);

  [[nodiscard]] QComboBox* fileSystemChoice() const { return m_fileSystem; }
  [[nodiscard]] controls::SectorRangeControl* rangeControl() const { return m_range; }
  [[nodiscard]] const std::optional<DeepRunStart>& lastDeepStart() const { return m_lastDeepStart; }

 protected:
  void startFromSelection() override;
  void drivePanelShown(DriveItemKind kind, const QTreeWidgetItem* item) override;
  [[nodiscard]] QList<controls::ListColumn> contentColumns() const override;

 private:
  [[nodiscard]] std::optional<DeepRunStart> rangeFromFields(std::uint64_t start, std::uint64_t end);

  QComboBox* m_fileSystem = nullptr;
  controls::SectorRangeControl* m_range = nullptr;
  QLabel* m_loadingTree = nullptr;
  QProgressBar* m_loadingTreeBar = nullptr;
  QLabel* m_logWait = nullptr;
  std::optional<DeepRunStart> m_lastDeepStart;
};

}  // namespace dravel::app
