#pragma once
// The sector range slider: two arrow handles on a track, working on
// floating-point values. The arithmetic lives in RangeSliderModel; this widget
// feeds it the mouse, the keys and the size, draws it, and turns its
// notifications into rangeChanged (the registered window message of the Windows version).

#include <QWidget>
#include <cstdint>
#include <utility>

#include "RangeSliderModel.h"

namespace dravel::controls {

class CRangeSlider : public QWidget {
  Q_OBJECT
 public:
  explicit CRangeSlider(QWidget* parent = nullptr);

  void setMinMax(double a, double b);
  void setRange(double left, double right);
  void setVisualRange(double a, double b);
  void setInverted(bool inverted);
  void setHorizontal(bool horizontal);
  void setVisualBandShown(bool shown);

  [[nodiscard]] std::pair<double, double> minMax() const { return m_model.minMax(); }
  [[nodiscard]] std::pair<double, double> range() const { return m_model.range(); }
  [[nodiscard]] std::pair<double, double> visualRange() const { return m_model.visualRange(); }
  // Left and right truncated to 64-bit integers.
  [[nodiscard]] std::pair<std::int64_t, std::int64_t> getRange() const { return m_model.rangeTruncated(); }

  // The arithmetic, for tests and for callers that need the pixel geometry.
  [[nodiscard]] const RangeSliderModel& model() const { return m_model; }

  [[nodiscard]] QSize sizeHint() const override;
  [[nodiscard]] QSize minimumSizeHint() const override;

 signals:
  // Sent synchronously on every change the slider makes itself (drags, keys,
  // clamps of the setters): 0 the left value, 1 the right value, 2 both.
  void rangeChanged(int what);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void updateGeometryModel();
  [[nodiscard]] QRect toRect(const RangeSliderModel::Box& box) const;
  [[nodiscard]] std::pair<int, int> alongAcross(const QPoint& point) const;
  void drawHandle(class QPainter& painter, const QRect& box, bool pointsLeft, bool dragged) const;

  RangeSliderModel m_model;
};

}  // namespace dravel::controls
