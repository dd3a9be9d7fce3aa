#pragma once
// The help and support dialog: three ways to open the user guide (a button,
// a link and F1) and OK.

#include <QDialog>

namespace dravel::app {

class CHelp : public QDialog {
  Q_OBJECT
 public:
  explicit CHelp(QWidget* parent = nullptr);

  // The guide to open; helpFilePath() unless a test points elsewhere.
  void setHelpFile(const QString& path) { m_helpFile = path; }
  [[nodiscard]] const QString& helpFile() const { return m_helpFile; }

  // Opens the guide with the desktop; false when it is missing or nothing opened it.
  bool openHelpFile();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString m_helpFile;
};

}  // namespace dravel::app
