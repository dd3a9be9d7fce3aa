#include "AdviceDialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

AdviceDialog::AdviceDialog(const QString& mainText, const QStringList& adviceLines, QWidget* parent) : QDialog(parent) {
  setWindowTitle(productTitle());
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_MessageBoxWarning, buttons);
  body->addWidget(parts::textLabel(this, mainText, QStringLiteral("mainText"), 6));
  body->addSpacing(6);
  auto* important = parts::textLabel(this, QStringLiteral("Important:"), QStringLiteral("important"));
  QFont bold = important->font();
  bold.setBold(true);
  important->setFont(bold);
  body->addWidget(important);
  for (qsizetype i = 0; i < adviceLines.size(); ++i) {
    body->addWidget(parts::textLabel(this, adviceLines[i], QStringLiteral("advice%1").arg(i + 1)));
  }
  body->addStretch(1);

  auto* ok = parts::button(this, QStringLiteral("OK"), QStringLiteral("ok"));
  ok->setDefault(true);
  buttons->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setMinimumWidth(520);
}

void AdviceDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // the window system re-showing it is not an opening
  if (onOpen) onOpen();
  emit opened();
  raise();
  activateWindow();
}

}  // namespace dravel::app
