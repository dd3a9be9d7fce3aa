#pragma once
// Records the message boxes a window shows and answers its questions.

#include <QStringList>
#include <deque>

#include "controls/MessageService.h"

namespace dravel::testing {

class MessageRecorder {
 public:
  MessageRecorder() {
    controls::MessageService::setHandler([this](const controls::MessageRequest& request) {
      requests.push_back(request);
      texts.append(request.text);
      if (request.buttons == controls::MessageButtons::Ok) return controls::MessageAnswer::Ok;
      if (answers.empty()) return request.defaultAnswer;
      const auto answer = answers.front();
      answers.pop_front();
      return answer;
    });
  }
  ~MessageRecorder() { controls::MessageService::setHandler({}); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  // Answers for the coming questions, in order; the default button answers the rest.
  std::deque<controls::MessageAnswer> answers;
  std::vector<controls::MessageRequest> requests;
  QStringList texts;
};

}  // namespace dravel::testing
