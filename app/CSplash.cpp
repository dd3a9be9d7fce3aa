#include "CSplash.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTimer>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CSplash::CSplash(QWidget* parent) : QDialog(parent), m_timer(new QTimer(this)) {
  setWindowTitle(productTitle());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(36, 28, 36, 28);
  layout->setSpacing(10);
  auto* title = parts::textLabel(this, productTitle(), QStringLiteral("productTitle"), 8);
  title->setAlignment(Qt::AlignCenter);
  auto* version = parts::textLabel(this, versionLine(), QStringLiteral("version"), 1);
  version->setAlignment(Qt::AlignCenter);
  auto* loading = parts::textLabel(this, QStringLiteral("Loading required information.\nPlease wait..."),
                                   QStringLiteral("loading"), 1);
  loading->setAlignment(Qt::AlignCenter);
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addSpacing(12);
  layout->addWidget(loading);

  m_timer->setObjectName(QStringLiteral("splashTimer"));
  m_timer->setInterval(kIntervalMs);
  connect(m_timer, &QTimer::timeout, this, &CSplash::checkProgress);
  connect(this, &QDialog::finished, m_timer, &QTimer::stop);
  setMinimumWidth(500);
}

void CSplash::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_timer->isActive()) m_timer->start();
}

void CSplash::checkProgress() {
  if (!commandLineLogEmpty || commandLineLogEmpty()) {
    accept();
    return;
  }
  if (takeLogLoaded && takeLogLoaded()) accept();
}

}  // namespace dravel::app
