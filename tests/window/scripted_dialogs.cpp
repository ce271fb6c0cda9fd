#include "tests/window/scripted_dialogs.h"

#include "window/presenter/message_box_style.h"

namespace tavrin::testing {

int ScriptedDialogs::MessageBox(std::string_view text, int style, std::string_view title) {
  shown_.push_back({Kind::kMessageBox, std::string(text), style, std::string(title), DefaultAnswer(style)});
  if (while_shown) while_shown(Shown(shown_.back()));  // a copy: the hook may open dialogs too
  if (message_answers_.empty()) {
    const std::string failure = "unexpected message box: " + std::string(text);
    ReportUnexpectedDialog(failure);
    return kAnswerOk;
  }
  const int answer = message_answers_.front();
  message_answers_.pop_front();
  return answer;
}

std::string ScriptedDialogs::InputBox(std::string_view prompt, std::string_view title) {
  shown_.push_back({Kind::kInputBox, std::string(prompt), 0, std::string(title)});
  if (while_shown) while_shown(Shown(shown_.back()));  // a copy: the hook may open dialogs too
  if (input_answers_.empty()) {
    const std::string failure = "unexpected input box: " + std::string(prompt);
    ReportUnexpectedDialog(failure);
    return {};
  }
  std::string answer = std::move(input_answers_.front());
  input_answers_.pop_front();
  return answer;
}

}  // namespace tavrin::testing
