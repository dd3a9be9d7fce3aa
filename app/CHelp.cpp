#include "CHelp.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "DesktopOpen.h"
#include "DialogParts.h"
#include "ProductInfo.h"

namespace dravel::app {
namespace {

QLabel* guideLink(QWidget* parent) {
  auto* link = new QLabel(QStringLiteral("<a href=\"guide\">click here to open Software Guide.</a>"), parent);
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setObjectName(QStringLiteral("guideLink"));
  return link;
}

}  // namespace

CHelp::CHelp(QWidget* parent) : QDialog(parent), m_helpFile(helpFilePath()) {
  setWindowTitle(QStringLiteral("Help and Support"));
  auto* buttons = parts::buttonRow();
  auto* body = parts::iconAndBody(this, QStyle::SP_DialogHelpButton, buttons);
  body->addWidget(parts::textLabel(this, productTitle(), QStringLiteral("productTitle"), 6));
  body->addWidget(parts::textLabel(this, versionLine(), QStringLiteral("version")));
  body->addSpacing(6);
  body->addWidget(parts::textLabel(
      this,
      QStringLiteral(
          "The Software Guide explains each search mode, how to choose a drive and how to save what was found."),
      QStringLiteral("guideHint")));

  auto* launch = parts::button(this, QStringLiteral("Launch Software Help File"), QStringLiteral("launchHelp"));
  launch->setIcon(style()->standardIcon(QStyle::SP_FileIcon, nullptr, this));
  auto* launchRow = new QHBoxLayout;
  launchRow->addWidget(launch);
  launchRow->addStretch(1);
  body->addLayout(launchRow);
  auto* link = guideLink(this);
  body->addWidget(link);
  body->addStretch(1);

  auto* ok = parts::button(this, QStringLiteral("OK"), QStringLiteral("ok"));
  ok->setDefault(true);
  buttons->addWidget(ok);

  connect(launch, &QPushButton::clicked, this, [this] { openHelpFile(); });
  connect(link, &QLabel::linkActivated, this, [this] { openHelpFile(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setMinimumWidth(440);
}

bool CHelp::openHelpFile() { return openWithDesktop(m_helpFile, this); }

void CHelp::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    openHelpFile();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace dravel::app
