#include "CRem_Media_Scan.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {

CRem_Media_Scan::CRem_Media_Scan(QWidget* parent) : QDialog(parent) {
  setWindowTitle(productTitle());
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_MessageBoxInformation, buttons);
  body->addWidget(parts::textLabel(
      this,
      QStringLiteral("Please select the Partition to start searching for lost data or use search more partitions "
                     "option to find the missing or deleted partitions.\n\nBesides this, you can also use the "
                     "advanced search mode of Kestavine - Recovery to select Entire Drive or Custom Disk Range or "
                     "even cross File System selection to search the missing data."),
      QStringLiteral("mainText")));
  body->addStretch(1);

  auto* entireDrive = parts::button(this, QStringLiteral("Search Entire Drive as a single Partition"),
                                    QStringLiteral("searchEntireDrive"));
  entireDrive->setIcon(style()->standardIcon(QStyle::SP_DriveHDIcon, nullptr, this));
  auto* goBack = parts::button(this, QStringLiteral("OK, Go Back"), QStringLiteral("goBack"));
  goBack->setDefault(true);  // the harmless answer
  buttons->addWidget(entireDrive);
  buttons->addWidget(goBack);
  connect(entireDrive, &QPushButton::clicked, this, &QDialog::accept);
  connect(goBack, &QPushButton::clicked, this, &QDialog::reject);
  setMinimumWidth(520);
}

}  // namespace dravel::app
