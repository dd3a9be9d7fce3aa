#pragma once
// The desktop's installed applications, read from their .desktop files
// (freedesktop Desktop Entry format), for the Open With choice.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dravel::app {

struct DesktopApplication {
  QString id;    // file name relative to its applications folder, '/' replaced by '-'
  QString name;  // the unlocalised Name
  QString exec;  // the Exec line as written, field codes included
  QString icon;  // theme icon name or path; may be empty
};

// The applications folders in order of precedence: $XDG_DATA_HOME (default
// ~/.local/share) first, then each of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), each with "/applications" appended.
[[nodiscard]] QStringList applicationFolders();

// Applications of the given folders, sorted by name (case-insensitive). An id
// found in an earlier folder hides the same id in later ones, also when the
// earlier entry is hidden. Entries that are not of Type Application, have no
// Exec, or are NoDisplay or Hidden are left out.
[[nodiscard]] QList<DesktopApplication> readDesktopApplications(const QStringList& folders);

// One [Desktop Entry] group, or nothing when it is not a shown application.
[[nodiscard]] std::optional<DesktopApplication> parseDesktopEntry(const QString& text);

// The command line to run for exec with the file at path: the arguments as
// the Exec quoting rules split them, %f %F %u %U replaced by the path, "%%"
// by "%", every other field code dropped. When exec names no file code the
// path is appended. Empty when exec is empty.
[[nodiscard]] QStringList expandExec(const QString& exec, const QString& path);

}  // namespace dravel::app
