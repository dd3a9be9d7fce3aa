#include "CDravelApp.h"

#include <QApplication>
#include <QTimer>
#include <memory>

#include "CDravelDlg.h"
#include "CSplash.h"
#include "FontSet.h"
#include "controls/MessageService.h"
#include "platform/DeviceNamespace.h"
#include "platform/DeviceOptions.h"
#include "platform/LogTypeRegistration.h"
#include "platform/System.h"

namespace dravel::app {

QString usageText() {
  return QStringLiteral(
      "Usage: dravel [--image FILE]... [--images-only] [LOG.ZVT]\n"
      "  --image FILE    attach a disk image as a removable disk (repeatable)\n"
      "  --images-only   hide the machine's own block devices\n"
      "  LOG.ZVT         a recovery log to open at start\n");
}

std::optional<StartOptions> CDravelApp::prepare(const QStringList& arguments, QString& error) {
  std::vector<std::string> args;
  for (const auto& a : arguments) args.push_back(a.toStdString());
  auto parsed = platform::parseDeviceOptions(args);
  if (!parsed.error.empty()) {
    error = QString::fromStdString(parsed.error);
    return std::nullopt;
  }
  std::string rest;
  for (const auto& a : parsed.rest) rest += (rest.empty() ? "" : " ") + a;
  platform::setCurrentDevices(std::make_shared<platform::DeviceNamespace>(parsed.options));
  StartOptions options;
  options.commandLineLog = QString::fromStdString(platform::commandLineLogPath(rest));
  return options;
}

int CDravelApp::run(const StartOptions& options) {
  static_cast<void>(sharedFont(1));  // the whole set, once, before any window
  if (options.registerLogType &&
      !platform::registerLogFileType(platform::programPath(), platform::xdgDataHome())) {
    controls::MessageService::information(nullptr, QString::fromUtf8(platform::kLogTypeFailureMessage));
  }

  CDravelDlg main;
  main.setCommandLineLogPath(options.commandLineLog);
  std::unique_ptr<CSplash> splash;
  if (!options.commandLineLog.isEmpty()) {
    splash = std::make_unique<CSplash>();
    splash->commandLineLogEmpty = [&main] { return main.commandLineLogPath().isEmpty(); };
    splash->takeLogLoaded = [] { return false; };
    splash->show();
  }
  QObject::connect(&main, &CDravelDlg::exitConfirmed, qApp, [] { QCoreApplication::exit(0); });
  main.show();
  QTimer::singleShot(0, &main, &CDravelDlg::openCommandLineLog);
  return QApplication::exec();
}

}  // namespace dravel::app
