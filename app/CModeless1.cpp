#include "CModeless1.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CModeless1::CModeless1(QWidget* parent) : QDialog(parent), m_progress(new QProgressBar(this)) {
  setWindowTitle(productTitle());
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->setSpacing(12);
  auto* text =
      parts::textLabel(this, QStringLiteral("Loading required information. Please wait..."), QStringLiteral("loading"));
  text->setAlignment(Qt::AlignCenter);
  m_progress->setObjectName(QStringLiteral("progress"));
  m_progress->setTextVisible(false);
  layout->addWidget(text);
  layout->addWidget(m_progress);
  setMinimumWidth(380);
}

}  // namespace dravel::app
