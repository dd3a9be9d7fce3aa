#pragma once
// The progress start and step services every window uses for its bars. The
// arithmetic lives in core (ProgressMeter); each bar keeps its own meter.

#include <cstdint>

class QProgressBar;

namespace dravel::app {

class ProgressService {
 public:
  // Range 0..(high - low) with the given step for a small span, otherwise a
  // percentage (0..100, step 1); position 0 either way.
  static void start(QProgressBar* bar, std::uint64_t low, std::uint64_t high, std::uint32_t step);
  // One step in a small span (starting over past the end); in percentage
  // mode the bar moves to (current - low) * 100 / (high - low), never back.
  static void step(QProgressBar* bar, std::uint64_t low, std::uint64_t high, std::uint64_t current);
};

}  // namespace dravel::app
