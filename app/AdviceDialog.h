#pragma once
// The layout both mode-advice dialogs share: the product title as caption,
// the main text in font 6, "Important:" and the advice lines, OK.

#include <QDialog>
#include <QStringList>
#include <functional>

namespace dravel::app {

class AdviceDialog : public QDialog {
  Q_OBJECT
 public:
  // Run each time the dialog opens, before it is brought to the front (the
  // search window stops its list population here).
  std::function<void()> onOpen;

 signals:
  void opened();

 protected:
  AdviceDialog(const QString& mainText, const QStringList& adviceLines, QWidget* parent);
  void showEvent(QShowEvent* event) override;
};

}  // namespace dravel::app
