#pragma once
// The arithmetic of the sector range slider, without Qt: values,
// normalisation, value <-> pixel, hit tests, drags and keys. CRangeSlider
// draws it and turns its notifications into a signal.
//
// Coordinates run along the track: x for a horizontal slider, y for a vertical
// one; "across" is the other axis. Invariant after every setter:
// minimum <= left <= right <= maximum (stored values; negated when inverted).

#include <cstdint>
#include <functional>
#include <utility>

namespace dravel::controls {

class RangeSliderModel {
 public:
  // What moved, as the registered message's wParam: 0 left, 1 right, 2 both.
  enum Part : int { Left = 0, Right = 1, Both = 2 };
  // The part being dragged (same numbers: the band is 2).
  enum class DragPart { Left = 0, Right = 1, Band = 2 };
  // A rectangle in control coordinates, half-open: [x0, x1) x [y0, y1) with x
  // along the track.
  struct Box {
    int along0 = 0, across0 = 0, along1 = 0, across1 = 0;
    [[nodiscard]] bool contains(int along, int across) const {
      return along >= along0 && along < along1 && across >= across0 && across < across1;
    }
    [[nodiscard]] bool isEmpty() const { return along1 <= along0 || across1 <= across0; }
    [[nodiscard]] int centreAlong() const { return (along0 + along1) / 2; }
  };
  enum class Key { Increase, Decrease };  // right/down, left/up

  using Notify = std::function<void(int what)>;
  void setNotify(Notify notify) { m_notify = std::move(notify); }

  // Swaps a and b when a > b; stored negated (and so swapped) when inverted.
  void setMinMax(double a, double b);
  void setRange(double left, double right);
  void setVisualRange(double a, double b);
  // Turning inversion on or off keeps the values seen from outside.
  void setInverted(bool inverted);
  void setHorizontal(bool horizontal) { m_horizontal = horizontal; }
  void setVisualBandShown(bool shown) { m_visualBandShown = shown; }

  // Values as the caller set them (un-negated when inverted).
  [[nodiscard]] std::pair<double, double> minMax() const;
  [[nodiscard]] std::pair<double, double> range() const;
  [[nodiscard]] std::pair<double, double> visualRange() const;
  // range() truncated towards zero to 64-bit integers (saturating; NaN gives 0).
  [[nodiscard]] std::pair<std::int64_t, std::int64_t> rangeTruncated() const;

  // Stored values, as the arithmetic uses them.
  [[nodiscard]] double minimum() const { return m_min; }
  [[nodiscard]] double maximum() const { return m_max; }
  [[nodiscard]] double left() const { return m_left; }
  [[nodiscard]] double right() const { return m_right; }
  [[nodiscard]] double visualMinimum() const { return m_visualMin; }
  [[nodiscard]] double visualMaximum() const { return m_visualMax; }
  [[nodiscard]] bool inverted() const { return m_inverted; }
  [[nodiscard]] bool horizontal() const { return m_horizontal; }
  [[nodiscard]] bool visualBandShown() const { return m_visualBandShown; }

  // Geometry, from the client size at each paint (and resize): the arrow size
  // is 3/4 of the extent across the track, the track width the extent along
  // it less two arrow sizes.
  void setClientSize(int along, int across);
  void setArrowSize(int arrowSize) { m_arrowSize = arrowSize; }
  void setTrackWidth(int trackWidth) { m_trackWidth = trackWidth; }
  [[nodiscard]] int arrowSize() const { return m_arrowSize; }
  [[nodiscard]] int trackWidth() const { return m_trackWidth; }
  [[nodiscard]] int clientAcross() const { return m_across; }

  // Pixel offset of a stored value on the track (0 .. track width).
  [[nodiscard]] int valueToPixel(double value) const;
  // Where the handles and the band between them are drawn now.
  [[nodiscard]] Box leftHandleBox() const;
  [[nodiscard]] Box rightHandleBox() const;
  [[nodiscard]] Box bandBox() const;
  // The part of the visual band between the handles (empty when not shown).
  [[nodiscard]] Box visualBandBox() const;

  // Mouse: press starts a drag when it hits a part (true then); move applies
  // it; release ends it.
  bool press(int along, int across);
  void move(int along);
  void release() { m_tracking = false; }
  [[nodiscard]] bool tracking() const { return m_tracking; }
  [[nodiscard]] DragPart dragPart() const { return m_dragPart; }
  [[nodiscard]] int dragOffset() const { return m_dragOffset; }

  // Arrow keys (the caller has checked that Ctrl is up). True when handled.
  bool key(Key key, bool shift);

 private:
  void normalise();
  void normaliseVisual();
  void send(int what) const {
    if (m_notify) m_notify(what);
  }
  [[nodiscard]] double valueAt(double pixels) const;

  double m_min = 0;
  double m_max = 1.0;
  double m_left = 0;
  double m_right = 1.0;
  double m_visualMin = 0;
  double m_visualMax = 0;
  int m_arrowSize = 10;
  int m_trackWidth = 0;
  int m_across = 0;
  bool m_horizontal = true;
  bool m_visualBandShown = false;
  bool m_inverted = false;
  bool m_tracking = false;
  DragPart m_dragPart = DragPart::Left;
  int m_dragOffset = 0;  // pointer position less the pressed part's centre
  Notify m_notify;
};

}  // namespace dravel::controls
