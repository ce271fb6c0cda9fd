#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "runtime/dialog_services.h"

namespace tavrin::testing {

// Fails the running test with `what`: through the test framework of the binary (Qt Test or
// GoogleTest), each of which links its own definition.
void ReportUnexpectedDialog(const std::string& what);

// Dialog services that answer from a script instead of showing boxes. Every dialog asked
// for is recorded, a message box with the answer of its default button; a dialog the script
// did not expect fails the running test.
class ScriptedDialogs : public DialogServices {
 public:
  enum class Kind { kMessageBox, kInputBox };
  struct Shown {
    Kind kind;
    std::string text;  // message or prompt
    int style = 0;     // message boxes only
    std::string title;
    int default_answer = 0;  // message boxes only: the answer of the button Enter presses
  };

  // The next message box is answered with `answer` (kAnswerOk, kAnswerYes, ...).
  void AnswerNextMessageBox(int answer) { message_answers_.push_back(answer); }
  // The next input box is answered with `text` ("" stands for Cancel).
  void AnswerNextInputBox(std::string text) { input_answers_.push_back(std::move(text)); }

  int MessageBox(std::string_view text, int style, std::string_view title) override;
  std::string InputBox(std::string_view prompt, std::string_view title) override;
  void DoEvents() override {
    ++do_events_;
    if (during_do_events) during_do_events();
  }
  void SetMousePointer(int pointer) override { pointers_.push_back(pointer); }

  const std::vector<Shown>& shown() const { return shown_; }
  int do_events() const { return do_events_; }
  const std::vector<int>& pointers() const { return pointers_; }
  // True when every scripted answer was used.
  bool script_used_up() const { return message_answers_.empty() && input_answers_.empty(); }

  // Runs inside every DoEvents, as the events waiting at that moment would.
  std::function<void()> during_do_events;
  // Runs while each dialog is open, before it is answered, as another program working on the
  // disk meanwhile would.
  std::function<void(const Shown&)> while_shown;

 private:
  std::deque<int> message_answers_;
  std::deque<std::string> input_answers_;
  std::vector<Shown> shown_;
  std::vector<int> pointers_;
  int do_events_ = 0;
};

}  // namespace tavrin::testing
