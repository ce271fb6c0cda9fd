#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "runtime/path_text.h"
#include "runtime/shown_text.h"
#include "window/qt/lists/path_text.h"
#include "window/presenter/path_display.h"

namespace tavrin {

// The program's texts are UTF-8 bytes (fixed texts, messages); Qt shows QStrings. These
// helpers are the one place where texts cross over, so that every display shows a path the
// same way.

// `utf8` as Qt shows it: for fixed texts and messages whose names are already escaped.
inline QString UiText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace tavrin
