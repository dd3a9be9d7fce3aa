#pragma once
// Opening a file with the program the desktop associates with its type, and
// offering a choice of program when there is none. Used for the user guide
// and for the temporary copies of recovered files.

#include <QString>
#include <functional>

class QWidget;

namespace dravel::app {

class DesktopOpen {
 public:
  // Hands the file to the desktop; false when no program took it.
  using Launcher = std::function<bool(const QString& path)>;
  // Lets the user pick a program and runs it; false when none was run.
  using OpenWithHandler = std::function<bool(const QString& path, QWidget* owner)>;

  // "Does not exist." when the file is missing; otherwise the launcher, then
  // the Open With choice when the launcher fails. True when a program was started.
  static bool open(const QString& path, QWidget* owner);

  // Replace the desktop and the Open With dialog (tests); empty restores them.
  static void setLauncher(Launcher launcher);
  static void setOpenWithHandler(OpenWithHandler handler);
};

inline bool openWithDesktop(const QString& path, QWidget* owner) { return DesktopOpen::open(path, owner); }

// "Software Guide.html" in the folder of the running program.
[[nodiscard]] QString helpFilePath();

}  // namespace dravel::app
