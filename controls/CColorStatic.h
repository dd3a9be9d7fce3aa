#pragma once
// A static text with its own background and text colours: labels, hint lines
// and count lines of the windows. Initially the background is the palette's
// button-face colour and the text black; both setters redraw at once.

#include <QColor>
#include <QLabel>

namespace dravel::controls {

class CColorStatic : public QLabel {
  Q_OBJECT
 public:
  explicit CColorStatic(const QString& text = {}, QWidget* parent = nullptr);
  void setBackgroundColour(const QColor& colour);
  void setTextColour(const QColor& colour);
  [[nodiscard]] QColor backgroundColour() const { return m_background; }
  [[nodiscard]] QColor textColour() const { return m_text; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void applyColours();

  QColor m_background;
  QColor m_text = Qt::black;
  bool m_applying = false;
};

}  // namespace dravel::controls
