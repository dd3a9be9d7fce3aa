#include "CPopulate.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

#include "DialogParts.h"
#include "FrameTexts.h"
#include "ProductInfo.h"

namespace dravel::app {

CPopulate::CPopulate() {
  setWindowTitle(productTitle());
  setModal(false);
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_FileDialogContentsView, buttons);
  body->addWidget(parts::textLabel(this, texts::kPopulating, QStringLiteral("text")));
  // A busy bar: a listing does not know its length before it ends.
  auto* busy = new QProgressBar(this);
  busy->setObjectName(QStringLiteral("busy"));
  busy->setRange(0, 0);
  busy->setTextVisible(false);
  body->addWidget(busy);
  auto* cancel = parts::button(this, QStringLiteral("Cancel"), QStringLiteral("cancel"));
  buttons->addWidget(cancel);
  connect(cancel, &QPushButton::clicked, this, &CPopulate::cancelRequested);
  setMinimumWidth(340);
}

void CPopulate::showOver(const QWidget* owner) {
  adjustSize();
  if (owner != nullptr) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(owner->window()->frameGeometry().center());
    move(frame.topLeft());
    // Kept above the search window by the window system, without being its
    // child (which would disable it with the window).
    winId();
    if (windowHandle() != nullptr) windowHandle()->setTransientParent(owner->window()->windowHandle());
  }
  show();
  raise();
  activateWindow();
}

void CPopulate::reject() { emit cancelRequested(); }

}  // namespace dravel::app
