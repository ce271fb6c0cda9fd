#include "cli/summary.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "conversion/key_table.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin::cli {
namespace {

// "Label:" padded so that the values of one block stand in one column.
void AddItem(std::string& text, std::string_view label, std::string_view value) {
  constexpr std::size_t kLabelColumns = 35;  // the longest label, "Zielverzeichnisse nicht angelegt:", and two blanks
  std::string line(label);
  line += ':';
  const std::size_t columns = CharacterCount(line);  // umlauts are two bytes, one column
  line.append(columns < kLabelColumns ? kLabelColumns - columns : 1, ' ');
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
                    const std::filesystem::path& target, bool dry_run) {
  std::string text = dry_run ? "Probelauf: Es wurde nichts geschrieben. So ginge die Konvertierung aus:"
                             : std::string(report.ok() ? kClosingText : kClosingTextWithFailures);
  text += '\n';
  AddItem(text, "Quellverzeichnis", ShownText(PathText(source)));
  AddItem(text, "Zielverzeichnis", ShownText(PathText(target)));
  if (report.recursive) AddItem(text, "Verzeichnisse", std::to_string(report.folders));
  // A dry run says what would happen, never what has been done.
  AddItem(text, dry_run ? "Dateien würden kopiert" : "Dateien kopiert", std::to_string(report.files_copied));
  AddItem(text, dry_run ? "Dateien würden umgeschrieben" : "Dateien umgeschrieben",
          std::to_string(report.files_rewritten));
  AddItem(text, dry_run ? "Dateien nicht übertragbar" : "Dateien nicht übertragen",
          std::to_string(report.failures.size()));
  if (!report.folder_failures.empty()) {
    AddItem(text, "Verzeichnisse nicht lesbar", std::to_string(report.folder_failures.size()));
  }
  if (!report.target_folder_failures.empty()) {
    AddItem(text, "Zielverzeichnisse nicht angelegt", std::to_string(report.target_folder_failures.size()));
  }
  AddItem(text, dry_run ? "Zeilen würden geändert" : "Zeilen geändert", std::to_string(report.lines_changed));
  if (report.lines_removed > 0) {
    AddItem(text, dry_run ? "Zeilen würden entfernt" : "Zeilen entfernt", std::to_string(report.lines_removed));
  }
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

std::string HintsSection(const std::vector<Hint>& hints, std::size_t most) {
  if (hints.empty()) return "Hinweise: keine\n";
  std::string text = "Hinweise:\n";
  for (std::string_view kind : kHintKinds) {
    std::uint64_t count = 0;  // what the hints list, such as the files of the line-ends hint
    for (const Hint& hint : hints) count += hint.kind == kind ? hint.count : 0;
    if (count > 0) AddItem(text, "  " + std::string(HintKindName(kind)), std::to_string(count));
  }
  for (std::string_view kind : kHintKinds) {
    std::size_t shown = 0;
    std::size_t left = 0;
    for (const Hint& hint : hints) {
      if (hint.kind != kind) continue;
      if (shown == most) {
        ++left;
        continue;
      }
      ++shown;
      std::string line = "  [" + std::string(kind) + "] ";
      if (!hint.file.empty()) {
        line += ShownText(PathText(hint.file));
        line += hint.line > 0 ? ", Zeile " + std::to_string(hint.line) + ": " : ": ";
      }
      text += line + ShownText(hint.message) + "\n";
    }
    if (left > 0) text += "  [" + std::string(kind) + "] (und " + std::to_string(left) + " weitere)\n";
  }
  return text;
}

std::string DryRunLine(const TransferredFile& file) {
  const std::string name = ShownText(PathText(file.relative));
  if (!file.rewritten) return "kopieren " + name + "\n";
  return "umschreiben (" + std::to_string(file.lines_changed) + (file.lines_changed == 1 ? " Zeile" : " Zeilen") +
         " geändert" + (file.lines_removed > 0 ? ", " + std::to_string(file.lines_removed) + " entfernt" : "") + ") " +
         name + "\n";
}

}  // namespace tavrin::cli
