#include "window/presenter/message_box_style.h"

#include <cstddef>

namespace tavrin {
namespace {

constexpr int kButtonsMask = 0x0F;
constexpr int kDefaultButtonMask = 0x300;

}  // namespace

std::vector<int> ButtonAnswers(int style) {
  switch (style & kButtonsMask) {
    case kButtonsOkCancel:
      return {kAnswerOk, kAnswerCancel};
    case kButtonsYesNoCancel:
      return {kAnswerYes, kAnswerNo, kAnswerCancel};
    case kButtonsYesNo:
      return {kAnswerYes, kAnswerNo};
    default:
      return {kAnswerOk};
  }
}

int DefaultAnswer(int style) {
  const std::vector<int> answers = ButtonAnswers(style);
  const auto position = static_cast<std::size_t>((style & kDefaultButtonMask) / kDefaultButton2);
  return position < answers.size() ? answers[position] : answers.front();
}

}  // namespace tavrin
