#include "WaitWindow.h"

#include <QPointer>

#include "CPlease_Wail_Modeless.h"

namespace dravel::app {
namespace {

QPointer<QWidget>& mainWindowPointer() {
  static QPointer<QWidget> pointer;
  return pointer;
}

QPointer<CPlease_Wail_Modeless>& waitPointer() {
  static QPointer<CPlease_Wail_Modeless> pointer;
  return pointer;
}

CPlease_Wail_Modeless* waitWindowFor(QWidget* owner) {
  auto& wait = waitPointer();
  if (wait.isNull()) {
    // Parented to the main window when there is one, so that it stays above
    // the program's windows and goes with them; the owner may be a search
    // window that closes long before.
    QWidget* parent = mainWindowPointer() ? mainWindowPointer().data() : owner;
    wait = new CPlease_Wail_Modeless(parent);
  } else {
    wait->raise();
  }
  return wait;
}

// The frame of a window that was never shown is not known yet; the owner's
// window has the same decoration, so its frame stands in (as QDialog does).
QSize frameSize(const QWidget* window, const QWidget* owner) {
  if (window->isVisible()) return window->frameGeometry().size();
  const QWidget* decorated = owner->window();
  return window->size() + (decorated->frameGeometry().size() - decorated->geometry().size());
}

void centreOn(QWidget* window, const QWidget* owner) {
  window->adjustSize();
  const QRect ownerArea =
      owner->isWindow() ? owner->frameGeometry() : QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
  QRect frame(QPoint(0, 0), frameSize(window, owner));
  frame.moveCenter(ownerArea.center());
  window->move(frame.topLeft());  // move() places the frame of a top-level window
}

}  // namespace

void WaitWindow::setMainWindow(QWidget* mainWindow) { mainWindowPointer() = mainWindow; }

QWidget* WaitWindow::mainWindow() { return mainWindowPointer(); }

void WaitWindow::showWait(QWidget* owner, bool centre) {
  if (owner != nullptr) owner->setEnabled(false);
  if (auto* main = mainWindow()) main->setEnabled(false);
  auto* wait = waitWindowFor(owner);
  if (centre && owner != nullptr) centreOn(wait, owner);
  wait->setText(QStringLiteral("It may take a while, Please wait..."));
  wait->setEnabled(false);
  wait->show();
}

void WaitWindow::hideWait(QWidget* owner) {
  QWidget* toEnable = owner != nullptr ? owner : mainWindow();
  if (toEnable != nullptr) toEnable->setEnabled(true);
  if (auto* wait = window()) wait->hide();
}

CPlease_Wail_Modeless* WaitWindow::window() { return waitPointer(); }

}  // namespace dravel::app
