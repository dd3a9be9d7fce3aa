#pragma once
// The arithmetic behind every progress bar of the windows, kept apart from
// the widget so it can be checked without one.
//
// Two modes, chosen from the span high - low of each call:
// - a small span (below 0x7FFFFFFF) is shown as it is: the bar's range is
//   0..span and each step advances by the fixed step, starting over at 0
//   once the end is passed (the bar then reads as "still busy");
// - a larger span is shown as a percentage (range 0..100) that never moves
//   backwards between two starts.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace dravel {

class ProgressMeter {
 public:
  static constexpr std::uint64_t kLargeSpan = 0x7FFFFFFF;

  void start(std::uint64_t low, std::uint64_t high, std::uint32_t step) {
    const std::uint64_t span = high - low;  // wraps when high < low: percentage mode
    if (span < kLargeSpan) {
      m_maximum = static_cast<int>(span);
      m_step = static_cast<int>(std::min<std::uint64_t>(step, kLargeSpan));
    } else {
      m_maximum = 100;
      m_step = 1;
    }
    m_position = 0;
    m_percent = 0;
  }

  void step(std::uint64_t low, std::uint64_t high, std::uint64_t current) {
    if (high - low < kLargeSpan) {
      advanceOneStep();
      return;
    }
    const std::uint64_t percent = percentOf(low, high, current);
    if (percent > m_percent) {
      m_percent = percent;
      m_position = static_cast<int>(percent);
    }
  }

  // (current - low) * 100 / (high - low), 0 when high is 0, capped at 100.
  // Positions before low count as 0; a product beyond 64 bits is computed by
  // dividing the span first (the span is large here, so little is lost).
  [[nodiscard]] static std::uint64_t percentOf(std::uint64_t low, std::uint64_t high, std::uint64_t current) {
    const std::uint64_t span = high - low;
    if (high == 0 || span == 0 || current <= low) return 0;
    const std::uint64_t done = current - low;
    const std::uint64_t percent = done <= std::numeric_limits<std::uint64_t>::max() / 100
                                      ? done * 100 / span
                                      : done / std::max<std::uint64_t>(span / 100, 1);
    return std::min<std::uint64_t>(percent, 100);
  }

  [[nodiscard]] int minimum() const { return 0; }
  [[nodiscard]] int maximum() const { return m_maximum; }
  [[nodiscard]] int stepSize() const { return m_step; }
  [[nodiscard]] int position() const { return m_position; }

 private:
  void advanceOneStep() {
    // 64-bit sum: position and step are both below 2^31.
    const std::int64_t next = std::int64_t{m_position} + m_step;
    m_position = next > m_maximum ? 0 : static_cast<int>(next);
  }

  int m_maximum = 100;
  int m_step = 1;
  int m_position = 0;
  std::uint64_t m_percent = 0;  // the highest percentage shown since start()
};

}  // namespace dravel
