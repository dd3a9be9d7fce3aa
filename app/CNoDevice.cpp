#include "CNoDevice.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CNoDevice::CNoDevice(QWidget* parent) : QDialog(parent) {
  setWindowTitle(productTitle());
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_MessageBoxWarning, buttons);
  auto* heading = parts::textLabel(
      this, QStringLiteral("Could not find any Pen Drive or other USB Removable Media connected to your system."),
      QStringLiteral("mainText"), 6);
  body->addWidget(heading);
  body->addSpacing(4);
  body->addWidget(parts::textLabel(
      this,
      QStringLiteral("1. Connect the drive or card reader directly to a USB port of this computer, not through a hub "
                     "or an extension cable, and wait a few seconds until the system has detected it."),
      QStringLiteral("advice1")));
  body->addWidget(parts::textLabel(
      this,
      QStringLiteral("2. Reading drives needs permission to read block devices (/dev/sdX): run the program as a member "
                     "of the disk group or as root."),
      QStringLiteral("advice2")));
  body->addWidget(parts::textLabel(
      this, QStringLiteral("3. To recover from a disk image instead, start the program with --image\u00A0FILE."),
      QStringLiteral("advice3")));
  body->addWidget(parts::textLabel(this, QStringLiteral("Then click Retry."), QStringLiteral("advice4")));
  body->addStretch(1);

  m_retry = parts::button(this, QStringLiteral("Retry"), QStringLiteral("retry"));
  m_retry->setIcon(style()->standardIcon(QStyle::SP_BrowserReload, nullptr, this));
  m_retry->setDefault(true);
  m_exit = parts::button(this, QStringLiteral("Exit"), QStringLiteral("exit"));
  buttons->addWidget(m_retry);
  buttons->addWidget(m_exit);
  connect(m_retry, &QPushButton::clicked, this, &CNoDevice::onRetry);
  connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
  setMinimumWidth(520);
}

void CNoDevice::onRetry() {
  if (retry && retry()) {
    accept();
    return;
  }
  emit retryFailed();
}

}  // namespace dravel::app
