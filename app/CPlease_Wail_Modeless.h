#pragma once
// The "please wait" window shown (disabled) over a window that is busy
// listing drives. WaitWindow shows and hides it.

#include <QDialog>

class QLabel;

namespace dravel::app {

class CPlease_Wail_Modeless : public QDialog {
  Q_OBJECT
 public:
  explicit CPlease_Wail_Modeless(QWidget* parent = nullptr);

  void setText(const QString& text);
  [[nodiscard]] QString text() const;

 private:
  QLabel* m_text = nullptr;
};

}  // namespace dravel::app
