#include "window/presenter/command_texts.h"

#include "window/presenter/path_display.h"

namespace tavrin {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string AboutText() {
  std::string text = "Aktualisierung der Common Control-Steuerelemente der Version 5.0 ";
  text += kLineEnd;
  text += "zur Version 6.0 unter Anlage einer Projektkopie in einem neuen Projektverzeichnis.";
  text += kLineEnd;
  text += kLineEnd;
  text += "© 2026 Tavrin-Projekt";
  return text;
}

std::string SelectionSummaryText(const std::filesystem::path& source, const std::filesystem::path& target,
                                 bool conversion_possible) {
  std::string text = "Aktuell wurden gewählt: ";
  text += kLineEnd;
  text += kLineEnd;
  text += "Quellverzeichnis: " + ShownPath(source);
  text += kLineEnd;
  text += "Zielverzeichnis: " + ShownPath(target);
  text += kLineEnd;
  text += "Konvertierung möglich: ";
  text += conversion_possible ? "ja" : "nein";
  return text;
}

}  // namespace tavrin
