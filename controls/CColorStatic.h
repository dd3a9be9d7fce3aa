#pragma once
// A static text with its own background and text colours: labels, hint lines
// and count lines of the windows.

#include <QLabel>

namespace dravel::controls {

class CColorStatic : public QLabel {
  Q_OBJECT
 public:
  explicit CColorStatic(const QString& text = {}, QWidget* parent = nullptr);
  void setBackgroundColour(const QColor& colour);
  void setTextColour(const QColor& colour);
};

}  // namespace dravel::controls
