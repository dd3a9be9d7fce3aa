#include <QApplication>
#include <cstdio>

#include "app/CDravelApp.h"

namespace {

bool displayAvailable() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
    std::fputs(qPrintable(dravel::app::usageText()), stdout);
    return 0;
  }
  if (!displayAvailable()) {
    std::fputs("dravel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
               "  Run it headless with QT_QPA_PLATFORM=offscreen, see the windows in docs/screenshots/\n"
               "  (scripts/screenshots.sh), or use the command line: dravel-cli --help\n",
               stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestavine USB Drive Recovery"));
  QString error;
  const auto options = dravel::app::CDravelApp::prepare(arguments, error);
  if (!options) {
    std::fprintf(stderr, "dravel: %s\n%s", qPrintable(error), qPrintable(dravel::app::usageText()));
    return 2;
  }
  return dravel::app::CDravelApp::run(*options);
}
