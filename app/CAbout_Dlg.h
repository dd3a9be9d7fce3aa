#pragma once
// The about dialog: product title and version.

#include <QDialog>

namespace dravel::app {

class CAbout_Dlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAbout_Dlg(QWidget* parent = nullptr);
};

}  // namespace dravel::app
