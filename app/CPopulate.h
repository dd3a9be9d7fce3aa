#pragma once
// The small window shown while a folder's content is listed: "Populating
// List Items, Please wait...." with a busy bar and Cancel. It is a window
// of its own, not a child of the search window, because the search window
// is disabled while the listing runs and would take its children with it.

#include <QDialog>

namespace dravel::app {

class CPopulate : public QDialog {
  Q_OBJECT
 public:
  CPopulate();

  // Centres on `owner` and brings itself to the front.
  void showOver(const QWidget* owner);

 signals:
  // Cancel, or the window's close box.
  void cancelRequested();

 protected:
  void reject() override;
};

}  // namespace dravel::app
