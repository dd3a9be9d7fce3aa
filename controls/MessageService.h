#pragma once
// Every message box of the program goes through here, so that window tests
// can read the texts and answer the questions without a modal loop.

#include <QString>
#include <functional>

class QWidget;

namespace dravel::controls {

enum class MessageIcon { Information, Question, Warning };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
  QWidget* parent = nullptr;
  QString caption;
  QString text;
  MessageIcon icon = MessageIcon::Information;
  MessageButtons buttons = MessageButtons::Ok;
  MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

class MessageService {
 public:
  using Handler = std::function<MessageAnswer(const MessageRequest&)>;

  // Shows the box (or hands it to the installed handler) and returns the answer.
  static MessageAnswer show(const MessageRequest& request);

  // Caption "Message", information icon, OK.
  static void information(QWidget* parent, const QString& text);
  // Caption "Message", question icon, Yes and No; true for Yes.
  static bool question(QWidget* parent, const QString& text, MessageAnswer defaultAnswer = MessageAnswer::No);

  // Replaces the message boxes (tests); an empty handler restores them.
  static void setHandler(Handler handler);
};

}  // namespace dravel::controls
