#include "DialogParts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "FontSet.h"
#include "ProductInfo.h"
#include "controls/CColorStatic.h"

namespace dravel::app::parts {

QLabel* iconLabel(QWidget* parent, QStyle::StandardPixmap icon) {
  auto* label = new QLabel(parent);
  const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
  label->setPixmap(parent->style()->standardIcon(icon, nullptr, parent).pixmap(size, size));
  label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  label->setObjectName(QStringLiteral("icon"));
  return label;
}

QLabel* textLabel(QWidget* parent, const QString& text, const QString& objectName, int sharedFontNumber) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setObjectName(objectName);
  if (sharedFontNumber > 0) label->setFont(sharedFont(sharedFontNumber));
  return label;
}

QPushButton* button(QWidget* parent, const QString& text, const QString& objectName) {
  auto* pushButton = new QPushButton(text, parent);
  pushButton->setObjectName(objectName);
  pushButton->setAutoDefault(false);
  return pushButton;
}

QHBoxLayout* buttonRow() {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  return row;
}

QBoxLayout* iconAndBody(QWidget* dialog, QStyle::StandardPixmap icon, QHBoxLayout* buttons) {
  auto* outer = new QVBoxLayout(dialog);
  outer->setContentsMargins(18, 18, 18, 14);
  outer->setSpacing(14);
  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  top->addWidget(iconLabel(dialog, icon), 0, Qt::AlignTop);
  auto* body = new QVBoxLayout;
  body->setSpacing(8);
  top->addLayout(body, 1);
  outer->addLayout(top, 1);
  outer->addLayout(buttons);
  return body;
}

QWidget* titleBand(QWidget* window) {
  const QString caption = window->windowTitle();
  const QString text = caption == productTitle() ? caption : productTitle() + QStringLiteral(" - ") + caption;
  auto* band = new controls::CColorStatic(text, window);
  band->setObjectName(QStringLiteral("titleBand"));
  band->setFont(sharedFont(10));
  band->setBackgroundColour(QColor(0xFF, 0xFF, 0xFF));
  band->setTextColour(QColor(0x1F, 0x3A, 0x60));
  band->setContentsMargins(12, 6, 12, 6);
  return band;
}

}  // namespace dravel::app::parts
