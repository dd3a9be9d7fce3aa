#pragma once
// The sector range of a search window: the line above the slider,
// the slider, the "?" button, and the four fields Min, Start Sector,
// End Sector and Max, kept in step with each other.

#include <QValidator>
#include <QWidget>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace dravel::controls {

class CRangeSlider;

// Digits only, nothing beyond 64 bits; an empty field is allowed while typing.
class SectorNumberValidator : public QValidator {
  Q_OBJECT
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

class SectorRangeControl : public QWidget {
  Q_OBJECT
 public:
  explicit SectorRangeControl(QWidget* parent = nullptr);

  // Step 1: a drive or partition was chosen. The slider runs over
  // [0, highest]; the fields show the four numbers.
  void setupForSelection(std::uint64_t start, std::uint64_t end, std::uint64_t lowest, std::uint64_t highest);

  // The fields' numbers; nullopt while a field is empty.
  [[nodiscard]] std::optional<std::uint64_t> startSector() const;
  [[nodiscard]] std::optional<std::uint64_t> endSector() const;
  [[nodiscard]] std::optional<std::uint64_t> minSector() const;
  [[nodiscard]] std::optional<std::uint64_t> maxSector() const;

  // The line above the slider; the signature windows use their own.
  void setLabelText(const QString& text);
  [[nodiscard]] QString labelText() const;
  // "Help for 'Sector Range'" unless changed (the Video Search window's differs).
  void setHelpToolTip(const QString& text);

  [[nodiscard]] CRangeSlider* slider() const { return m_slider; }
  [[nodiscard]] QLineEdit* startEdit() const { return m_start; }
  [[nodiscard]] QLineEdit* endEdit() const { return m_end; }
  [[nodiscard]] QLineEdit* minEdit() const { return m_min; }
  [[nodiscard]] QLineEdit* maxEdit() const { return m_max; }
  [[nodiscard]] QToolButton* helpButton() const { return m_help; }

  static const QString& defaultLabelText();
  static const QString& helpText();

 signals:
  // Start Sector or End Sector changed, by typing or through the slider.
  void sectorRangeChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void sliderChanged();
  void startOrEndChanged();
  void minOrMaxLeft();
  void showHelp();
  void writeField(QLineEdit* field, std::uint64_t value);

  QLabel* m_label = nullptr;
  CRangeSlider* m_slider = nullptr;
  QToolButton* m_help = nullptr;
  QLineEdit* m_min = nullptr;
  QLineEdit* m_start = nullptr;
  QLineEdit* m_end = nullptr;
  QLineEdit* m_max = nullptr;

  // The window's numbers, as last read from the fields.
  std::uint64_t m_startNumber = 0;
  std::uint64_t m_endNumber = 0;
  std::uint64_t m_minNumber = 0;
  std::uint64_t m_maxNumber = 0;
  bool m_writingFromSlider = false;
};

}  // namespace dravel::controls
