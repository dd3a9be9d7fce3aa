#pragma once
// The wait window service: disables the busy window (and the main window)
// and shows the disabled "please wait" window over it until hideWait().
// GUI thread only.

class QWidget;

namespace dravel::app {

class CPlease_Wail_Modeless;

class WaitWindow {
 public:
  // The program's main window: disabled with every owner, and the owner
  // re-enabled by hideWait(nullptr). Null until the main window sets it.
  static void setMainWindow(QWidget* mainWindow);
  [[nodiscard]] static QWidget* mainWindow();

  // Creates the wait window on first use, otherwise brings it to the front.
  static void showWait(QWidget* owner, bool centre);
  // Enables the owner (the main window when owner is null) and hides the
  // wait window, which is kept for the next showWait().
  static void hideWait(QWidget* owner);

  // The wait window, or null before the first showWait() (tests).
  [[nodiscard]] static CPlease_Wail_Modeless* window();
};

inline void showWait(QWidget* owner, bool centre) { WaitWindow::showWait(owner, centre); }
inline void hideWait(QWidget* owner) { WaitWindow::hideWait(owner); }

}  // namespace dravel::app
