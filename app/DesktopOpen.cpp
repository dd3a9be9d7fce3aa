#include "DesktopOpen.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "OpenWithDialog.h"
#include "controls/MessageService.h"

namespace dravel::app {
namespace {

constexpr int kQueryTimeoutMs = 3000;

// xdg-open starts (and so "succeeds") even when nothing can open the type,
// so the association is checked first. Without xdg-mime there is no way to
// ask: the desktop is trusted then.
bool hasDefaultApplication(const QString& path) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return true;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
  QStringList types{type.name()};
  types += type.allAncestors();
  for (const QString& name : types) {
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), name});
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit) return true;
    if (!query.readAllStandardOutput().trimmed().isEmpty()) return true;
  }
  return false;
}

bool desktopLaunch(const QString& path) {
  return hasDefaultApplication(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool openWithChoice(const QString& path, QWidget* owner) {
  OpenWithDialog dialog(path, readDesktopApplications(applicationFolders()), owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList command = dialog.command();
  if (command.isEmpty()) return false;
  return QProcess::startDetached(command.front(), command.mid(1));
}

DesktopOpen::Launcher& launcher() {
  static DesktopOpen::Launcher installed;
  return installed;
}

DesktopOpen::OpenWithHandler& openWithHandler() {
  static DesktopOpen::OpenWithHandler installed;
  return installed;
}

}  // namespace

bool DesktopOpen::open(const QString& path, QWidget* owner) {
  if (!QFileInfo(path).isFile()) {
    controls::MessageService::information(owner, QStringLiteral("Does not exist."));
    return false;
  }
  const bool launched = launcher() ? launcher()(path) : desktopLaunch(path);
  if (launched) return true;
  return openWithHandler() ? openWithHandler()(path, owner) : openWithChoice(path, owner);
}

void DesktopOpen::setLauncher(Launcher replacement) { launcher() = std::move(replacement); }

void DesktopOpen::setOpenWithHandler(OpenWithHandler replacement) { openWithHandler() = std::move(replacement); }

QString helpFilePath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/Software Guide.html"); }

}  // namespace dravel::app
