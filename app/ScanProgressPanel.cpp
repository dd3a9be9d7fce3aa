#include "ScanProgressPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "FrameTexts.h"
#include "SearchFrame.h"
#include "common/ProgressMeter.h"

namespace dravel::app {
namespace {

QLabel* namedLabel(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

ScanProgressPanel::ScanProgressPanel(SearchFrame& frame)
    : QWidget(frame.progressArea()), m_stageText(frame.progressText()), m_bar(frame.progressBar()) {
  setObjectName(QStringLiteral("scanProgressPanel"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_mode = namedLabel(QString(), "scanMode", this);
  m_range = namedLabel(QString(), "scanRange", this);
  m_current = namedLabel(QString(), "currentSector", this);
  m_params = new QWidget(this);
  auto* params = new QHBoxLayout(m_params);
  params->setContentsMargins(0, 0, 0, 0);
  params->addWidget(namedLabel(texts::kCalculatingParams, "paramsTitle", m_params));
  m_paramsCurrent = namedLabel(QStringLiteral("0"), "paramsCurrent", m_params);
  m_paramsTotal = namedLabel(texts::paramsOfTotal(0), "paramsTotal", m_params);
  params->addWidget(m_paramsCurrent);
  params->addWidget(m_paramsTotal);
  m_params->hide();
  layout->addWidget(m_mode);
  layout->addWidget(m_range);
  layout->addWidget(m_current);
  layout->addWidget(m_params);
  layout->addStretch(1);
  if (auto* grid = qobject_cast<QGridLayout*>(frame.progressArea()->layout()))
    grid->addWidget(this, grid->rowCount(), 0, 1, grid->columnCount());
}

void ScanProgressPanel::begin(const QString& modeText, std::uint64_t firstSector, std::uint64_t endSector) {
  m_mode->setText(modeText);
  m_range->setText(texts::searchRange(firstSector, endSector));
  m_current->setText(QString::number(firstSector));
  m_stageText->setText(texts::kValidatingPartition);
  m_stage = basic::ScanStage::Validating;
  showParams(false);
  setBarRange(firstSector, endSector);
  setBarPosition(firstSector);
}

void ScanProgressPanel::stage(basic::ScanStage stage) {
  m_stage = stage;
  showParams(stage == basic::ScanStage::CalculatingParams);
  switch (stage) {
    case basic::ScanStage::Validating: m_stageText->setText(texts::kValidatingPartition); break;
    case basic::ScanStage::CalculatingParams: m_stageText->clear(); break;
    case basic::ScanStage::Scanning: break;  // its text comes with its total
    case basic::ScanStage::SearchingLost: m_stageText->setText(texts::kSearchingLost); break;
    case basic::ScanStage::Storing: m_stageText->setText(texts::kStoring); break;
  }
}

void ScanProgressPanel::total(std::uint64_t shownTotal, std::uint64_t barLow, std::uint64_t barHigh) {
  if (m_stage == basic::ScanStage::CalculatingParams) {
    m_paramsTotal->setText(texts::paramsOfTotal(shownTotal));
  } else if (m_stage == basic::ScanStage::Scanning) {
    m_stageText->setText(texts::sectorsScannedOfTotal(shownTotal));
  }
  setBarRange(barLow, barHigh);
  setBarPosition(barLow);
}

void ScanProgressPanel::position(std::uint64_t barPosition, std::uint64_t shownNumber) {
  if (m_stage == basic::ScanStage::CalculatingParams) {
    m_paramsCurrent->setText(QString::number(shownNumber));
  } else if (m_stage == basic::ScanStage::Scanning) {
    m_current->setText(QString::number(shownNumber));
  }
  setBarPosition(barPosition);
}

// The partition parameter search shows its own fields in place of the bar.
void ScanProgressPanel::showParams(bool show) {
  m_params->setVisible(show);
  m_current->setVisible(!show);
  m_bar->setVisible(!show);
}

// The scan reports absolute positions, throttled, so the bar is set to
// where the scan is rather than stepped once per report.
void ScanProgressPanel::setBarRange(std::uint64_t low, std::uint64_t high) {
  m_barLow = low;
  m_barHigh = high;
  const std::uint64_t span = high >= low ? high - low : 0;
  m_barPercent = span >= ProgressMeter::kLargeSpan;
  m_bar->setRange(0, m_barPercent ? 100 : static_cast<int>(span));
  m_bar->setValue(0);
}

void ScanProgressPanel::setBarPosition(std::uint64_t position) {
  if (m_barPercent) {
    m_bar->setValue(static_cast<int>(ProgressMeter::percentOf(m_barLow, m_barHigh, position)));
    return;
  }
  const std::uint64_t done = position > m_barLow ? position - m_barLow : 0;
  m_bar->setValue(static_cast<int>(std::min<std::uint64_t>(done, m_barHigh - std::min(m_barLow, m_barHigh))));
}

}  // namespace dravel::app
