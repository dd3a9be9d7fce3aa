#include "SectorRangeControl.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "CRangeSlider.h"
#include "MessageService.h"
#include "common/Text.h"

namespace dravel::controls {
namespace {

std::optional<std::uint64_t> fieldNumber(const QLineEdit* field) {
  return parseUnsigned(field->text().toStdString());
}

// The slider's truncated value as a sector number: nothing below 0.
std::uint64_t sectorFromSlider(std::int64_t value) { return value < 0 ? 0 : static_cast<std::uint64_t>(value); }

QLineEdit* makeField(QWidget* parent, const char* objectName, bool readOnly) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(objectName));
  field->setValidator(new SectorNumberValidator(field));
  field->setReadOnly(readOnly);
  field->setMinimumWidth(90);
  return field;
}

}  // namespace

QValidator::State SectorNumberValidator::validate(QString& input, int& /*pos*/) const {
  if (input.isEmpty()) return Intermediate;
  for (const QChar c : input)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Invalid;
  return parseUnsigned(input.toStdString()) ? Acceptable : Invalid;
}

const QString& SectorRangeControl::defaultLabelText() {
  static const QString text = QStringLiteral("You can change the range of sectors by moving the edges of slider:");
  return text;
}

const QString& SectorRangeControl::helpText() {
  static const QString text = QStringLiteral(
      "‘Sector Range’ option provides facility to specify the range of start and end sectors of storage media "
      "within which you want to perform searching for lost data. Please drag Left and Right edges of Slider to "
      "enter sector range or you can also enter these values in ‘Start Sector’ and ‘End Sector’ fields manually.");
  return text;
}

SectorRangeControl::SectorRangeControl(QWidget* parent) : QWidget(parent) {
  m_label = new QLabel(defaultLabelText(), this);
  m_label->setObjectName(QStringLiteral("rangeLabel"));
  m_slider = new CRangeSlider(this);
  m_slider->setObjectName(QStringLiteral("rangeSlider"));
  m_help = new QToolButton(this);
  m_help->setObjectName(QStringLiteral("rangeHelp"));
  m_help->setText(QStringLiteral("?"));
  m_help->setToolTip(QStringLiteral("Help for 'Sector Range'"));
  m_help->setFocusPolicy(Qt::TabFocus);

  m_min = makeField(this, "minSector", true);
  m_start = makeField(this, "startSector", false);
  m_end = makeField(this, "endSector", false);
  m_max = makeField(this, "maxSector", true);

  auto* sliderRow = new QHBoxLayout;
  sliderRow->addWidget(m_slider, 1);
  sliderRow->addWidget(m_help);

  auto* fields = new QGridLayout;
  const auto addField = [this, fields](int column, const QString& title, QLineEdit* field) {
    auto* label = new QLabel(title, this);
    label->setBuddy(field);
    fields->addWidget(label, 0, column);
    fields->addWidget(field, 1, column);
  };
  addField(0, QStringLiteral("Min"), m_min);
  addField(1, QStringLiteral("Start Sector"), m_start);
  addField(2, QStringLiteral("End Sector"), m_end);
  addField(3, QStringLiteral("Max"), m_max);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_label);
  layout->addLayout(sliderRow);
  layout->addLayout(fields);

  connect(m_slider, &CRangeSlider::rangeChanged, this, [this] { sliderChanged(); });
  connect(m_start, &QLineEdit::textChanged, this, [this] { startOrEndChanged(); });
  connect(m_end, &QLineEdit::textChanged, this, [this] { startOrEndChanged(); });
  connect(m_help, &QToolButton::clicked, this, [this] { showHelp(); });
  m_min->installEventFilter(this);
  m_max->installEventFilter(this);
}

void SectorRangeControl::setLabelText(const QString& text) { m_label->setText(text); }
QString SectorRangeControl::labelText() const { return m_label->text(); }
void SectorRangeControl::setHelpToolTip(const QString& text) { m_help->setToolTip(text); }

std::optional<std::uint64_t> SectorRangeControl::startSector() const { return fieldNumber(m_start); }
std::optional<std::uint64_t> SectorRangeControl::endSector() const { return fieldNumber(m_end); }
std::optional<std::uint64_t> SectorRangeControl::minSector() const { return fieldNumber(m_min); }
std::optional<std::uint64_t> SectorRangeControl::maxSector() const { return fieldNumber(m_max); }

void SectorRangeControl::writeField(QLineEdit* field, std::uint64_t value) {
  field->setText(QString::number(value));
}

// Step 1. Writing the fields runs step 3 as typing would; the last write (End
// Sector) leaves the slider's range at [start, end] when end >= start.
void SectorRangeControl::setupForSelection(std::uint64_t start, std::uint64_t end, std::uint64_t lowest,
                                           std::uint64_t highest) {
  m_start->setText(QStringLiteral("0"));
  m_end->setText(QStringLiteral("0"));
  m_slider->setMinMax(0, static_cast<double>(highest));
  m_slider->setRange(0, static_cast<double>(highest));
  m_slider->setVisualRange(0, 0);
  m_startNumber = start;
  m_endNumber = end;
  m_minNumber = lowest;
  m_maxNumber = highest;
  writeField(m_start, start);
  writeField(m_end, end);
  writeField(m_min, lowest);
  writeField(m_max, highest);
}

// Step 2: the slider moved (or clamped); its range, truncated, becomes the
// start and end. Both fields are written before step 3 runs once, so that
// step 3 never sees a new start beside the old end.
void SectorRangeControl::sliderChanged() {
  m_startNumber = fieldNumber(m_start).value_or(0);
  m_endNumber = fieldNumber(m_end).value_or(0);
  const auto [left, right] = m_slider->getRange();
  m_startNumber = sectorFromSlider(left);
  m_endNumber = sectorFromSlider(right);
  m_writingFromSlider = true;
  writeField(m_start, m_startNumber);
  writeField(m_end, m_endNumber);
  m_writingFromSlider = false;
  startOrEndChanged();
}

// Step 3: each change of Start Sector or End Sector.
void SectorRangeControl::startOrEndChanged() {
  if (m_writingFromSlider) return;
  m_startNumber = fieldNumber(m_start).value_or(0);
  m_endNumber = fieldNumber(m_end).value_or(0);
  if (m_endNumber >= m_startNumber)
    m_slider->setRange(static_cast<double>(m_startNumber), static_cast<double>(m_endNumber));
  emit sectorRangeChanged();
}

// Step 4: Min or Max lost the focus.
void SectorRangeControl::minOrMaxLeft() {
  const std::uint64_t lowest = fieldNumber(m_min).value_or(0);
  const std::uint64_t highest = fieldNumber(m_max).value_or(0);
  if (lowest == m_minNumber && highest == m_maxNumber) return;
  m_minNumber = lowest;
  m_maxNumber = highest;
  m_slider->setMinMax(static_cast<double>(lowest), static_cast<double>(highest));
}

bool SectorRangeControl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && (watched == m_min || watched == m_max)) minOrMaxLeft();
  return QWidget::eventFilter(watched, event);
}

void SectorRangeControl::showHelp() {
  MessageService::show({this, QStringLiteral("Message"), helpText(), MessageIcon::Question, MessageButtons::Ok,
                        MessageAnswer::Ok});
}

}  // namespace dravel::controls
