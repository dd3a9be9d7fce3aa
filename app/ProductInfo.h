#pragma once
// The names the program shows for itself: captions, title bands, about text.

#include <QString>

#ifndef DRAVEL_VERSION
#error "DRAVEL_VERSION comes from the build (app/CMakeLists.txt)"
#endif

namespace dravel::app {

inline const QString& productTitle() {
  static const QString title = QStringLiteral("Kestavine USB Drive Recovery");
  return title;
}

inline const QString& versionLine() {
  static const QString line = QStringLiteral("Version - ") + QStringLiteral(DRAVEL_VERSION);
  return line;
}

}  // namespace dravel::app
