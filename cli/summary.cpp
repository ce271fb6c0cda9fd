#include "cli/summary.h"

#include <cstdint>
#include <string_view>

#include "conversion/key_table.h"
#include "runtime/shown_text.h"

namespace tavrin::cli {
namespace {

// "Label:" padded so that the values of one block stand in one column.
void AddItem(std::string& text, std::string_view label, std::string_view value) {
  constexpr std::size_t kLabelColumns = 26;
  std::string line(label);
  line += ':';
  std::size_t columns = 0;
  for (unsigned char c : line) columns += (c & 0xC0) != 0x80 ? 1 : 0;  // UTF-8 umlauts
  if (columns < kLabelColumns) line.append(kLabelColumns - columns, ' ');
  text += line;
  text += value;
  text += '\n';
}

std::string RightAligned(std::uint64_t number, std::size_t width) {
  std::string digits = std::to_string(number);
  return std::string(digits.size() < width ? width - digits.size() : 0, ' ') + digits;
}

}  // namespace

std::string Summary(const PassReport& report, const std::filesystem::path& source,
                    const std::filesystem::path& target) {
  std::string text(report.ok() ? kClosingText : kClosingTextWithFailures);
  text += '\n';
  AddItem(text, "Quellverzeichnis", ShownText(source.string()));
  AddItem(text, "Zielverzeichnis", ShownText(target.string()));
  if (report.recursive) AddItem(text, "Verzeichnisse", std::to_string(report.folders));
  AddItem(text, "Dateien kopiert", std::to_string(report.files_copied));
  AddItem(text, "Dateien umgeschrieben", std::to_string(report.files_rewritten));
  AddItem(text, "Dateien nicht übertragen", std::to_string(report.failures.size()));
  if (!report.folder_failures.empty()) {
    AddItem(text, "Verzeichnisse nicht lesbar", std::to_string(report.folder_failures.size()));
  }
  AddItem(text, "Zeilen geändert", std::to_string(report.lines_changed));
  text += "Ersetzungen je Zeile der Tabelle:\n";
  const KeyTable keys = KeyTable::Build(report.rows > KeyTable::kUpper);
  std::uint64_t total = 0;
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    const std::uint64_t count = report.replacements[static_cast<std::size_t>(i)];
    total += count;
    text += RightAligned(static_cast<std::uint64_t>(i), 4) + RightAligned(count, 10) + "  ";
    text.append(keys.OldKey(i));
    text += " -> ";
    text.append(keys.NewKey(i));
    if (keys.row(i).match == KeyTable::Match::kAnyCase) text += "  (jede Schreibweise)";
    text += '\n';
  }
  AddItem(text, "Ersetzungen insgesamt", std::to_string(total));
  return text;
}

}  // namespace tavrin::cli
