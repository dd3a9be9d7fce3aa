#pragma once
// The texts of a scan's progress area: the mode, the searched range, the
// current sector beside "sectors scanned of total %llu", the fields of the
// partition parameter search, and the stage text and bar of the frame.
// Fed by a ScanWorker's signals; GUI thread only.

#include <QWidget>
#include <cstdint>

#include "basic/ScanControl.h"

class QLabel;
class QProgressBar;

namespace dravel::app {

class SearchFrame;

class ScanProgressPanel : public QWidget {
  Q_OBJECT
 public:
  // Goes into the frame's progress area, below its bar.
  explicit ScanProgressPanel(SearchFrame& frame);

  // A scan starts: mode text, "Search Range : " first " to " end, the bar
  // from first to end, the first sector as the current one, and
  // "Validating Partition ...".
  void begin(const QString& modeText, std::uint64_t firstSector, std::uint64_t endSector);

  void stage(basic::ScanStage stage);
  void total(std::uint64_t shownTotal, std::uint64_t barLow, std::uint64_t barHigh);
  void position(std::uint64_t barPosition, std::uint64_t shownNumber);

  [[nodiscard]] QLabel* modeText() const { return m_mode; }
  [[nodiscard]] QLabel* rangeText() const { return m_range; }
  [[nodiscard]] QLabel* currentSector() const { return m_current; }
  [[nodiscard]] QLabel* paramsCurrent() const { return m_paramsCurrent; }
  [[nodiscard]] QLabel* paramsTotal() const { return m_paramsTotal; }

 private:
  void setBarRange(std::uint64_t low, std::uint64_t high);
  void setBarPosition(std::uint64_t position);
  void showParams(bool show);

  QLabel* m_stageText;
  QProgressBar* m_bar;
  QLabel* m_mode = nullptr;
  QLabel* m_range = nullptr;
  QLabel* m_current = nullptr;
  QWidget* m_params = nullptr;
  QLabel* m_paramsCurrent = nullptr;
  QLabel* m_paramsTotal = nullptr;
  basic::ScanStage m_stage = basic::ScanStage::Validating;
  std::uint64_t m_barLow = 0;
  std::uint64_t m_barHigh = 0;
  bool m_barPercent = false;  // a span too wide for the bar's int range is shown in percent
};

}  // namespace dravel::app
