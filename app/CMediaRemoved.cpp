#include "CMediaRemoved.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CMediaRemoved::CMediaRemoved(QWidget* parent) : QDialog(parent) {
  setWindowTitle(productTitle());
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_MessageBoxWarning, buttons);
  body->addWidget(parts::textLabel(this, QStringLiteral("The selected storage device is no longer available."),
                                   QStringLiteral("mainText"), 6));
  body->addWidget(parts::textLabel(
      this,
      QStringLiteral(
          "The drive(from which you are trying recover data) either has been removed or no longer available."),
      QStringLiteral("detail")));
  body->addWidget(parts::textLabel(
      this,
      QStringLiteral("Connect the media directly to a USB port of this computer (not through a hub or an extension "
                     "cable), wait until it is detected, then click \u201cRetry and Continue...\u201d."),
      QStringLiteral("advice")));
  m_applyToAll = new QCheckBox(QStringLiteral("Apply this action until the searching completes"), this);
  m_applyToAll->setObjectName(QStringLiteral("applyToAll"));
  body->addWidget(m_applyToAll);
  body->addStretch(1);

  auto* cancel = parts::button(this, QStringLiteral("Cancel Searching"), QStringLiteral("cancelSearching"));
  auto* retry = parts::button(this, QStringLiteral("Retry and Continue..."), QStringLiteral("retryAndContinue"));
  retry->setDefault(true);
  buttons->addWidget(retry);
  buttons->addWidget(cancel);
  connect(cancel, &QPushButton::clicked, this, &CMediaRemoved::reject);
  connect(retry, &QPushButton::clicked, this, &CMediaRemoved::onRetry);
  setMinimumWidth(500);
}

void CMediaRemoved::onRetry() {
  m_retryCode = m_applyToAll->isChecked() ? kRetryUntilDone : kRetryOnce;
  accept();
}

void CMediaRemoved::reject() {
  // Dismissing the question must not leave the scan with no answer at all:
  // it would go on reading a device that is gone.
  m_cancelFlag = kCancel;
  QDialog::reject();
}

}  // namespace dravel::app
