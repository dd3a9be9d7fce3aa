#include "MessageService.h"

#include <QMessageBox>

namespace dravel::controls {
namespace {

MessageService::Handler& installedHandler() {
  static MessageService::Handler handler;
  return handler;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: break;
  }
  return QMessageBox::Information;
}

MessageAnswer runBox(const MessageRequest& request) {
  QMessageBox box(boxIcon(request.icon), request.caption, request.text, QMessageBox::NoButton, request.parent);
  if (request.buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(request.defaultAnswer == MessageAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int result = box.exec();
  if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace

MessageAnswer MessageService::show(const MessageRequest& request) {
  if (const auto& handler = installedHandler()) return handler(request);
  return runBox(request);
}

void MessageService::information(QWidget* parent, const QString& text) {
  show({parent, QStringLiteral("Message"), text, MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
}

bool MessageService::question(QWidget* parent, const QString& text, MessageAnswer defaultAnswer) {
  return show({parent, QStringLiteral("Message"), text, MessageIcon::Question, MessageButtons::YesNo, defaultAnswer}) ==
         MessageAnswer::Yes;
}

void MessageService::setHandler(Handler handler) { installedHandler() = std::move(handler); }

}  // namespace dravel::controls
