#include "CRangeSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace dravel::controls {
namespace {

const QColor kVisualBandColour(255, 255, 150);

}  // namespace

CRangeSlider::CRangeSlider(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_model.setNotify([this](int what) { emit rangeChanged(what); });
  updateGeometryModel();
}

void CRangeSlider::setMinMax(double a, double b) {
  m_model.setMinMax(a, b);
  update();
}

void CRangeSlider::setRange(double left, double right) {
  m_model.setRange(left, right);
  update();
}

void CRangeSlider::setVisualRange(double a, double b) {
  m_model.setVisualRange(a, b);
  update();
}

void CRangeSlider::setInverted(bool inverted) {
  m_model.setInverted(inverted);
  update();
}

void CRangeSlider::setHorizontal(bool horizontal) {
  m_model.setHorizontal(horizontal);
  updateGeometryModel();
  updateGeometry();
  update();
}

void CRangeSlider::setVisualBandShown(bool shown) {
  m_model.setVisualBandShown(shown);
  update();
}

QSize CRangeSlider::sizeHint() const { return m_model.horizontal() ? QSize(200, 20) : QSize(20, 200); }

QSize CRangeSlider::minimumSizeHint() const { return m_model.horizontal() ? QSize(40, 12) : QSize(12, 40); }

void CRangeSlider::updateGeometryModel() {
  if (m_model.horizontal())
    m_model.setClientSize(width(), height());
  else
    m_model.setClientSize(height(), width());
}

std::pair<int, int> CRangeSlider::alongAcross(const QPoint& point) const {
  return m_model.horizontal() ? std::pair{point.x(), point.y()} : std::pair{point.y(), point.x()};
}

QRect CRangeSlider::toRect(const RangeSliderModel::Box& box) const {
  const int alongSize = box.along1 - box.along0;
  const int acrossSize = box.across1 - box.across0;
  return m_model.horizontal() ? QRect(box.along0, box.across0, alongSize, acrossSize)
                              : QRect(box.across0, box.along0, acrossSize, alongSize);
}

void CRangeSlider::resizeEvent(QResizeEvent* event) {
  updateGeometryModel();
  QWidget::resizeEvent(event);
}

// A framed box with a small filled triangle pointing towards the band; raised
// edges unless it is being dragged.
void CRangeSlider::drawHandle(QPainter& painter, const QRect& box, bool pointsForward, bool dragged) const {
  if (box.width() <= 0 || box.height() <= 0) return;
  const auto& pal = palette();
  painter.fillRect(box, pal.color(QPalette::Button));
  painter.setPen(pal.color(QPalette::Shadow));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  if (!dragged) {
    const QRect inner = box.adjusted(1, 1, -2, -2);
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
  }
  // The triangle: a third of the box's smaller side, centred.
  const int side = std::max(2, std::min(box.width(), box.height()) / 3);
  const QPoint c = box.center();
  QPolygon triangle;
  if (m_model.horizontal()) {
    const int tip = pointsForward ? side / 2 : -side / 2;
    triangle << QPoint(c.x() - tip, c.y() - side / 2) << QPoint(c.x() - tip, c.y() + side / 2)
             << QPoint(c.x() + tip, c.y());
  } else {
    const int tip = pointsForward ? side / 2 : -side / 2;
    triangle << QPoint(c.x() - side / 2, c.y() - tip) << QPoint(c.x() + side / 2, c.y() - tip)
             << QPoint(c.x(), c.y() + tip);
  }
  painter.setPen(pal.color(QPalette::ButtonText));
  painter.setBrush(pal.color(QPalette::ButtonText));
  painter.drawPolygon(triangle);
  painter.setBrush(Qt::NoBrush);
}

// Drawn off-screen and copied in one piece.
void CRangeSlider::paintEvent(QPaintEvent* /*event*/) {
  updateGeometryModel();
  const qreal ratio = devicePixelRatioF();
  QPixmap buffer(size() * ratio);
  buffer.setDevicePixelRatio(ratio);
  {
    QPainter painter(&buffer);
    const auto& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Button));
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const QRect band = toRect(m_model.bandBox());
    if (band.width() > 0 && band.height() > 0) {
      painter.setPen(pal.color(QPalette::Dark));
      painter.drawRect(band.adjusted(0, 0, -1, -1));
      const QRect visual = toRect(m_model.visualBandBox());
      if (visual.width() > 0 && visual.height() > 0) painter.fillRect(visual.adjusted(0, 1, 0, -1), kVisualBandColour);
      if (hasFocus()) {
        QPen focusPen(pal.color(QPalette::WindowText), 1, Qt::DotLine);
        painter.setPen(focusPen);
        painter.drawRect(band.adjusted(2, 2, -3, -3));
      }
    }
    const bool dragging = m_model.tracking();
    const auto part = m_model.dragPart();
    drawHandle(painter, toRect(m_model.leftHandleBox()), true,
               dragging && part == RangeSliderModel::DragPart::Left);
    drawHandle(painter, toRect(m_model.rightHandleBox()), false,
               dragging && part == RangeSliderModel::DragPart::Right);
  }
  QPainter screen(this);
  screen.drawPixmap(0, 0, buffer);
}

void CRangeSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  updateGeometryModel();
  const auto [along, across] = alongAcross(event->position().toPoint());
  m_model.press(along, across);
  update();
  event->accept();
}

void CRangeSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!m_model.tracking()) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  m_model.move(alongAcross(event->position().toPoint()).first);
  update();
  event->accept();
}

void CRangeSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_model.tracking()) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  m_model.release();
  update();
  event->accept();
}

void CRangeSlider::keyPressEvent(QKeyEvent* event) {
  const auto modifiers = event->modifiers();
  if (!(modifiers & Qt::ControlModifier)) {
    const bool horizontal = m_model.horizontal();
    const int increase = horizontal ? Qt::Key_Right : Qt::Key_Down;
    const int decrease = horizontal ? Qt::Key_Left : Qt::Key_Up;
    const int key = event->key();
    if (key == increase || key == decrease) {
      updateGeometryModel();
      const auto direction = key == increase ? RangeSliderModel::Key::Increase : RangeSliderModel::Key::Decrease;
      if (m_model.key(direction, (modifiers & Qt::ShiftModifier) != 0)) {
        update();
        event->accept();
        return;
      }
    }
  }
  QWidget::keyPressEvent(event);
}

void CRangeSlider::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void CRangeSlider::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

}  // namespace dravel::controls
