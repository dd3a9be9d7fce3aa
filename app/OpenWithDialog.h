#pragma once
// The choice of program for a file the desktop cannot open by itself: the
// installed applications, or any executable picked with Browse...

#include <QDialog>
#include <QStringList>

#include "DesktopEntries.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace dravel::app {

class OpenWithDialog : public QDialog {
  Q_OBJECT
 public:
  OpenWithDialog(const QString& path, const QList<DesktopApplication>& applications, QWidget* parent = nullptr);

  // The command line to run once accepted: program first, then its arguments.
  [[nodiscard]] QStringList command() const { return m_command; }

  // Accepts with the given executable (what Browse... ends in); refuses, with
  // a message, a file that cannot be executed.
  bool chooseProgram(const QString& program);

 private:
  void filter(const QString& text);
  void acceptSelected();
  void browse();

  QString m_path;
  QLineEdit* m_filter = nullptr;
  QListWidget* m_list = nullptr;
  QPushButton* m_open = nullptr;
  QStringList m_command;
};

}  // namespace dravel::app
