#pragma once
// The loading window shown while a search window is being opened. The main
// window drives its bar through ProgressService from a timer.

#include <QDialog>

class QProgressBar;

namespace dravel::app {

class CModeless1 : public QDialog {
  Q_OBJECT
 public:
  explicit CModeless1(QWidget* parent = nullptr);

  [[nodiscard]] QProgressBar* progressBar() const { return m_progress; }

 private:
  QProgressBar* m_progress = nullptr;
};

}  // namespace dravel::app
