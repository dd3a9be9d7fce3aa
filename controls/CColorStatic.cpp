#include "CColorStatic.h"

namespace dravel::controls {

CColorStatic::CColorStatic(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void CColorStatic::setBackgroundColour(const QColor& colour) {
  auto p = palette();
  p.setColor(QPalette::Window, colour);
  setPalette(p);
  setAutoFillBackground(true);
}

void CColorStatic::setTextColour(const QColor& colour) {
  auto p = palette();
  p.setColor(QPalette::WindowText, colour);
  setPalette(p);
}

}  // namespace dravel::controls
