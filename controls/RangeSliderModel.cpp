#include "RangeSliderModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace dravel::controls {
namespace {

std::int64_t truncateToInt64(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; everything at or above it saturates.
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (value >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

// Negates a pair for an inverted slider: [a, b] becomes [-b, -a], so the
// stored pair stays ordered.
std::pair<double, double> mirrored(double a, double b, bool inverted) {
  return inverted ? std::pair{-b, -a} : std::pair{a, b};
}

}  // namespace

void RangeSliderModel::setMinMax(double a, double b) {
  if (a > b) std::swap(a, b);
  std::tie(m_min, m_max) = mirrored(a, b, m_inverted);
  normalise();
}

void RangeSliderModel::setRange(double left, double right) {
  std::tie(m_left, m_right) = mirrored(left, right, m_inverted);
  normalise();
}

void RangeSliderModel::setVisualRange(double a, double b) {
  std::tie(m_visualMin, m_visualMax) = mirrored(a, b, m_inverted);
  normaliseVisual();
}

void RangeSliderModel::setInverted(bool inverted) {
  if (inverted == m_inverted) return;
  m_inverted = inverted;
  std::tie(m_min, m_max) = std::pair{-m_max, -m_min};
  std::tie(m_left, m_right) = std::pair{-m_right, -m_left};
  std::tie(m_visualMin, m_visualMax) = std::pair{-m_visualMax, -m_visualMin};
}

std::pair<double, double> RangeSliderModel::minMax() const { return mirrored(m_min, m_max, m_inverted); }
std::pair<double, double> RangeSliderModel::range() const { return mirrored(m_left, m_right, m_inverted); }
std::pair<double, double> RangeSliderModel::visualRange() const {
  return mirrored(m_visualMin, m_visualMax, m_inverted);
}

std::pair<std::int64_t, std::int64_t> RangeSliderModel::rangeTruncated() const {
  const auto [left, right] = range();
  return {truncateToInt64(left), truncateToInt64(right)};
}

// Left first, then right: each clamp tells the parent what moved.
void RangeSliderModel::normalise() {
  if (m_left < m_min) {
    m_left = m_min;
    send(Left);
  }
  if (m_right < m_left) {
    m_right = m_left;
    send(Right);
  }
  if (m_right > m_max) {
    m_right = m_max;
    send(Right);
  }
  if (m_left > m_right) {
    m_left = m_right;
    send(Left);
  }
}

void RangeSliderModel::normaliseVisual() {
  if (m_visualMax < m_visualMin) std::swap(m_visualMin, m_visualMax);
  if (m_visualMin < m_min) {
    m_visualMin = m_min;
    if (m_visualMax < m_visualMin) m_visualMax = m_visualMin;
  }
  if (m_visualMax > m_max) {
    m_visualMax = m_max;
    if (m_visualMin > m_visualMax) m_visualMin = m_visualMax;
  }
}

void RangeSliderModel::setClientSize(int along, int across) {
  m_across = across;
  m_arrowSize = across * 3 / 4;
  m_trackWidth = along - 2 * m_arrowSize;
}

int RangeSliderModel::valueToPixel(double value) const {
  const double span = m_max - m_min;
  if (!(span > 0) || m_trackWidth <= 0) return 0;
  const double x = m_trackWidth * (value - m_min) / span + 0.5;
  if (!(x > 0)) return 0;  // NaN too
  if (x >= m_trackWidth) return m_trackWidth;
  return static_cast<int>(x);
}

// The left handle is the arrow-sized box left of the left value's position,
// the right handle the one right of the right value's position; the track
// starts one arrow size from the edge.
RangeSliderModel::Box RangeSliderModel::leftHandleBox() const {
  const int x = valueToPixel(m_left);
  return {x, 0, x + m_arrowSize, m_across};
}

RangeSliderModel::Box RangeSliderModel::rightHandleBox() const {
  const int x = m_arrowSize + valueToPixel(m_right);
  return {x, 0, x + m_arrowSize, m_across};
}

RangeSliderModel::Box RangeSliderModel::bandBox() const {
  return {leftHandleBox().along1 + 1, 0, rightHandleBox().along0 - 1, m_across};
}

RangeSliderModel::Box RangeSliderModel::visualBandBox() const {
  if (!m_visualBandShown) return {};
  const auto band = bandBox();
  Box box{m_arrowSize + valueToPixel(m_visualMin), band.across0, m_arrowSize + valueToPixel(m_visualMax),
          band.across1};
  box.along0 = std::max(box.along0, band.along0);
  box.along1 = std::min(box.along1, band.along1);
  return box;
}

bool RangeSliderModel::press(int along, int across) {
  if (m_tracking) return false;
  const auto startDrag = [this, along](DragPart part, const Box& box) {
    m_tracking = true;
    m_dragPart = part;
    m_dragOffset = along - box.centreAlong();
    return true;
  };
  if (const auto box = leftHandleBox(); box.contains(along, across)) return startDrag(DragPart::Left, box);
  if (const auto box = rightHandleBox(); box.contains(along, across)) return startDrag(DragPart::Right, box);
  if (const auto box = bandBox(); box.contains(along, across)) return startDrag(DragPart::Band, box);
  return false;
}

// A pixel position on the track (the drag's p less the part's own offset) as a value.
double RangeSliderModel::valueAt(double pixels) const {
  return m_min + pixels / m_trackWidth * (m_max - m_min);
}

void RangeSliderModel::move(int along) {
  if (!m_tracking || m_trackWidth <= 0) return;
  const int p = along - m_dragOffset;
  switch (m_dragPart) {
    case DragPart::Left:
      m_left = valueAt(p - m_arrowSize / 2);
      if (m_left > m_right) m_left = m_right;
      if (m_left < m_min) m_left = m_min;
      send(Left);
      break;
    case DragPart::Right: {
      const double before = m_right;
      m_right = valueAt(p - m_arrowSize * 3 / 2);
      if (m_right < m_left) m_right = m_left;
      if (m_right > m_max) m_right = m_max;
      send(m_right != before ? Right : Left);
      break;
    }
    case DragPart::Band: {
      const double length = m_right - m_left;
      const double centre = valueAt(p - m_arrowSize);
      m_left = centre - length / 2;
      m_right = centre + length / 2;
      if (m_left < m_min) {
        m_left = m_min;
        m_right = m_min + length;
      }
      if (m_right > m_max) {
        m_right = m_max;
        m_left = m_max - length;
      }
      send(Both);
      break;
    }
  }
}

// One pixel's worth of value per key press; the range moves only when both
// handles stay on the track and in order.
bool RangeSliderModel::key(Key key, bool shift) {
  if (m_trackWidth <= 0) return false;
  const double c = (m_max - m_min) / m_trackWidth;
  if (!(c > 0)) return false;
  auto l = static_cast<std::int64_t>((m_left - m_min) / c + 0.5);
  auto r = static_cast<std::int64_t>((m_right - m_min) / c + 0.5);
  const int step = key == Key::Increase ? 1 : -1;
  if (!shift) l += step;
  r += step;
  if (l >= 0 && r <= m_trackWidth && l <= r) {
    m_left = static_cast<double>(l) * c + m_min;
    m_right = static_cast<double>(r) * c + m_min;
  }
  send(shift ? Left : Both);
  return true;
}

}  // namespace dravel::controls
