#include "CColorStatic.h"

#include <QEvent>

namespace dravel::controls {

CColorStatic::CColorStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_background(palette().color(QPalette::Button)) {
  setAutoFillBackground(true);
  applyColours();
}

void CColorStatic::setBackgroundColour(const QColor& colour) {
  m_background = colour;
  applyColours();
}

void CColorStatic::setTextColour(const QColor& colour) {
  m_text = colour;
  applyColours();
}

// The colours are set for every colour group, so that a disabled or inactive
// window shows them too, and again after a palette or style change from outside.
void CColorStatic::applyColours() {
  m_applying = true;
  auto p = palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Window, m_background);
    p.setColor(group, QPalette::WindowText, m_text);
  }
  setPalette(p);
  m_applying = false;
  update();
}

void CColorStatic::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (!m_applying && (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)) {
    // Only re-apply when something else replaced the colours.
    const auto& p = palette();
    if (p.color(QPalette::Window) != m_background || p.color(QPalette::WindowText) != m_text) applyColours();
  }
}

}  // namespace dravel::controls
