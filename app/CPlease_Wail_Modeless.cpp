#include "CPlease_Wail_Modeless.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CPlease_Wail_Modeless::CPlease_Wail_Modeless(QWidget* parent) : QDialog(parent) {
  setWindowTitle(productTitle());
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->setSpacing(12);
  auto* row = new QHBoxLayout;
  row->setSpacing(14);
  row->addWidget(parts::iconLabel(this, QStyle::SP_BrowserReload));
  m_text = parts::textLabel(this, QStringLiteral("It may take a while, Please wait..."), QStringLiteral("text"));
  row->addWidget(m_text, 1);
  layout->addLayout(row);
  // A busy bar: the listing behind it reports no progress of its own.
  auto* busy = new QProgressBar(this);
  busy->setObjectName(QStringLiteral("busy"));
  busy->setRange(0, 0);
  busy->setTextVisible(false);
  layout->addWidget(busy);
  setMinimumWidth(340);
}

void CPlease_Wail_Modeless::setText(const QString& text) { m_text->setText(text); }

QString CPlease_Wail_Modeless::text() const { return m_text->text(); }

}  // namespace dravel::app
