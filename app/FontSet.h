#pragma once
// The ten fonts every window takes by number: titles, captions, the title band.

#include <QFont>

namespace dravel::app {

inline constexpr int kSharedFontCount = 10;

// number is 1-based (1..10); created on first use, which must come after the
// QApplication. A number out of range gives the application's default font.
[[nodiscard]] const QFont& sharedFont(int number);

}  // namespace dravel::app
