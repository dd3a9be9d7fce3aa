#include "CAbout_Dlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CAbout_Dlg::CAbout_Dlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About ") + productTitle());
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_MessageBoxInformation, buttons);
  body->addWidget(parts::textLabel(this, productTitle(), QStringLiteral("productTitle"), 6));
  body->addWidget(parts::textLabel(this, versionLine(), QStringLiteral("version")));
  body->addWidget(
      parts::textLabel(this,
                       QStringLiteral("Finds lost and deleted files and folders on USB flash drives, memory cards, "
                                      "USB hard disks and disk images, and copies them to another drive. "
                                      "The drive being recovered is only ever read."),
                       QStringLiteral("description")));
  body->addStretch(1);

  auto* ok = parts::button(this, QStringLiteral("OK"), QStringLiteral("ok"));
  ok->setDefault(true);
  buttons->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setMinimumWidth(420);
}

}  // namespace dravel::app
