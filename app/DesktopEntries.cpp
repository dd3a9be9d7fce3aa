#include "DesktopEntries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

namespace dravel::app {
namespace {

QString environmentOr(const char* name, const QString& fallback) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? fallback : value;
}

bool isTrue(const QString& value) { return value.trimmed() == QLatin1String("true"); }

// Splits Exec into arguments: blanks separate them, double quotes group, and
// inside quotes a backslash escapes the next character.
QStringList splitExec(const QString& exec) {
  QStringList arguments;
  QString current;
  bool quoted = false;
  bool started = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == u'\\' && i + 1 < exec.size()) {
        current += exec[++i];
      } else if (c == u'"') {
        quoted = false;
      } else {
        current += c;
      }
    } else if (c == u'"') {
      quoted = true;
      started = true;
    } else if (c.isSpace()) {
      if (started) arguments.append(current);
      current.clear();
      started = false;
    } else {
      current += c;
      started = true;
    }
  }
  if (started) arguments.append(current);
  return arguments;
}

bool isFileCode(QChar code) { return code == u'f' || code == u'F' || code == u'u' || code == u'U'; }

// Expands the field codes of one argument; sets usedPath when a file code was met.
QString expandArgument(const QString& argument, const QString& path, bool& usedPath) {
  QString out;
  for (qsizetype i = 0; i < argument.size(); ++i) {
    if (argument[i] != u'%' || i + 1 >= argument.size()) {
      out += argument[i];
      continue;
    }
    const QChar code = argument[++i];
    if (code == u'%') {
      out += u'%';
    } else if (isFileCode(code)) {
      out += path;
      usedPath = true;
    }
  }
  return out;
}

}  // namespace

QStringList applicationFolders() {
  QStringList folders;
  folders.append(environmentOr("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share")));
  const QString dataDirs = environmentOr("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
  for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts)) folders.append(dir);
  for (QString& folder : folders) folder += QStringLiteral("/applications");
  folders.removeDuplicates();
  return folders;
}

std::optional<DesktopApplication> parseDesktopEntry(const QString& text) {
  QHash<QString, QString> keys;
  bool inEntry = false;
  for (const QString& rawLine : text.split(u'\n')) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      inEntry = line == QLatin1String("[Desktop Entry]");
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (!inEntry || equals <= 0) continue;
    const QString key = line.left(equals).trimmed();
    if (!keys.contains(key)) keys.insert(key, line.mid(equals + 1).trimmed());  // localised keys differ by "[ll]"
  }
  if (keys.value(QStringLiteral("Type")) != QLatin1String("Application")) return std::nullopt;
  if (isTrue(keys.value(QStringLiteral("NoDisplay"))) || isTrue(keys.value(QStringLiteral("Hidden")))) {
    return std::nullopt;
  }
  DesktopApplication application;
  application.name = keys.value(QStringLiteral("Name"));
  application.exec = keys.value(QStringLiteral("Exec"));
  application.icon = keys.value(QStringLiteral("Icon"));
  if (application.name.isEmpty() || application.exec.isEmpty()) return std::nullopt;
  return application;
}

QList<DesktopApplication> readDesktopApplications(const QStringList& folders) {
  QList<DesktopApplication> applications;
  QSet<QString> seenIds;
  for (const QString& folder : folders) {
    const QDir root(folder);
    QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString file = it.next();
      QString id = root.relativeFilePath(file);
      id.replace(u'/', u'-');
      if (seenIds.contains(id)) continue;
      seenIds.insert(id);
      QFile input(file);
      if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
      if (auto application = parseDesktopEntry(QString::fromUtf8(input.readAll()))) {
        application->id = id;
        applications.append(*application);
      }
    }
  }
  std::sort(applications.begin(), applications.end(), [](const auto& a, const auto& b) {
    const int order = a.name.compare(b.name, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a.id < b.id;
  });
  return applications;
}

QStringList expandExec(const QString& exec, const QString& path) {
  QStringList command;
  bool usedPath = false;
  for (const QString& argument : splitExec(exec)) {
    const QString expanded = expandArgument(argument, path, usedPath);
    // An argument that was only a dropped field code (such as %i) disappears.
    if (!expanded.isEmpty() || !argument.startsWith(u'%')) command.append(expanded);
  }
  if (!command.isEmpty() && !usedPath) command.append(path);
  return command;
}

}  // namespace dravel::app
