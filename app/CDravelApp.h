#pragma once
// Start-up: device options, the shared fonts, the log type, the command-line
// log and the main window.

#include <QString>
#include <QStringList>
#include <optional>

namespace dravel::app {

struct StartOptions {
  QString commandLineLog;  // trimmed, quotes removed
  bool registerLogType = true;
};

class CDravelApp {
 public:
  // Parses the arguments (without the program name) and installs the device
  // namespace. On bad usage returns nullopt and fills `error`.
  static std::optional<StartOptions> prepare(const QStringList& arguments, QString& error);
  // Runs the program until the main window's exit; the process's exit code.
  static int run(const StartOptions& options);
};

// What `dravel --help` prints.
[[nodiscard]] QString usageText();

}  // namespace dravel::app
