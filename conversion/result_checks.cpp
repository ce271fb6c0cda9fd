#include "conversion/result_checks.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "conversion/duplicate_references.h"
#include "runtime/code_page_text.h"
#include "runtime/letter_case.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin {
namespace {

enum WatchKind { kWatchVb5 = 1, kWatchChart, kWatchDataGrid, kWatchChartPrefix, kWatchDataGridPrefix };

constexpr std::size_t kMostControlLines = 1000;  // per file; more are counted, not kept
constexpr std::size_t kLongestEntryLine = 4096;
constexpr std::size_t kFirstLinesShown = 3;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

// The lower-cased suffix after the last dot of a file's name.
std::string LastSuffix(const NativeString& file) {
  const std::string text = PathText(FileNameFromPath(file));
  const std::size_t dot = text.rfind('.');
  return dot == std::string::npos ? std::string() : Lower(text.substr(dot + 1));
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The file an entry line of a project (or group) names, or nothing: the value after the key's
// "=", after its last ";", without blanks and quotes around it.
std::optional<std::string> EntryValue(std::string_view line, bool group) {
  static const std::set<std::string, std::less<>> kProjectKeys = {
      "form", "module", "class", "usercontrol", "propertypage", "userdocument", "designer", "relateddoc", "resfile32"};
  static const std::set<std::string, std::less<>> kGroupKeys = {"project", "startupproject"};
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string key = Lower(Trim(line.substr(0, equals)));
  if ((group ? kGroupKeys : kProjectKeys).count(key) == 0) return std::nullopt;
  std::string_view value = line.substr(equals + 1);
  const std::size_t semicolon = value.rfind(';');
  if (semicolon != std::string_view::npos) value.remove_prefix(semicolon + 1);
  value = Trim(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  if (value.empty()) return std::nullopt;
  return std::string(value);
}

// Splits a path as a project writes it ("..\Formulare\Form1.frm"; "/" taken as well).
std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      if (i > start) parts.emplace_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// A path below the top folder, as components in one letter case joined by "/".
std::string Key(const std::vector<std::string>& parts) {
  std::string key;
  for (const std::string& part : parts) key += (key.empty() ? "" : "/") + FoldLetterCase(part);
  return key;
}

// The ways an entry may spell its file's name: as written, and, when it holds bytes beyond
// ASCII, read in each code page projects are written in (names on the disk are UTF-8 text).
// The whole entry is read before it is split: a Japanese character may end in a "\" byte.
std::vector<std::string> Spellings(const std::string& value) {
  std::vector<std::string> spellings = {value};
  const bool ascii = std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return spellings;
  for (CodePage page : kProjectCodePages) {
    std::optional<std::string> text = Utf8FromCodePage(value, page);
    if (text && std::find(spellings.begin(), spellings.end(), *text) == spellings.end()) {
      spellings.push_back(std::move(*text));
    }
  }
  return spellings;
}

bool IsAbsolute(std::string_view path) {
  return (!path.empty() && (path[0] == '\\' || path[0] == '/')) ||
         (path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')));
}

// The components, below the top folder, of the file that `value` names from the project
// folder `folder`; nothing when it lies outside the top folder.
std::optional<std::vector<std::string>> Resolve(std::vector<std::string> folder, std::string_view value) {
  if (IsAbsolute(value)) return std::nullopt;
  for (const std::string& part : Components(value)) {
    if (part == ".") continue;
    if (part != "..") {
      folder.push_back(part);
    } else if (folder.empty()) {
      return std::nullopt;
    } else {
      folder.pop_back();
    }
  }
  return folder;
}

// Where the file an entry names was looked for in the source.
struct Lookup {
  enum class Kind { kMissing, kFound, kHiddenFolder, kLinkedFolder, kUnreadableFolder };
  Kind kind = Kind::kMissing;
  std::vector<std::string> parts;  // of the file found; else of the folder that was passed over
  Status status;                   // why that folder could not be read
};

// The source's files and folders as the checks look them up: letter case ignored per
// component, as Windows does, but a folder spelled exactly as the entry spells it tried first
// (a POSIX source may hold "sub" and "Sub"). Each folder is listed once per check, however
// many entries and spellings ask about it.
class SourceNames {
 public:
  explicit SourceNames(OpenedFolder& top) : top_(top) {}

  // Where the file `parts` (below the top) is: found as an ordinary file of the source, or
  // behind a folder that a conversion passes over (hidden, a link, unreadable), or missing.
  Lookup Find(const std::vector<std::string>& parts) { return Find(top_, std::string(), {}, parts); }

 private:
  struct Names {
    Status status;
    std::set<std::string> files;  // names in one letter case
    // Folders by their name in one letter case, to their names on disk in listing order.
    std::map<std::string, std::vector<std::filesystem::path>> folders;
    std::map<std::string, PassedFolder> passed;  // hidden folders and links to folders
  };

  // Looks for parts[below.size()...] in `folder`, whose path below the top is `below` (names
  // on disk) and `key`.
  Lookup Find(OpenedFolder& folder, const std::string& key, std::vector<std::string> below,
              const std::vector<std::string>& parts) {
    const Names& names = NamesOf(folder, key);
    if (!names.status.ok()) return {Lookup::Kind::kUnreadableFolder, below, names.status};
    const std::size_t i = below.size();
    if (i >= parts.size()) return {};
    const std::string wanted = FoldLetterCase(parts[i]);
    if (i + 1 == parts.size()) {
      if (names.files.count(wanted) == 0) return {};
      below.push_back(parts[i]);
      return {Lookup::Kind::kFound, below, {}};
    }
    std::vector<std::filesystem::path> candidates;
    const auto sub = names.folders.find(wanted);
    if (sub != names.folders.end()) {
      candidates = sub->second;
      std::stable_partition(candidates.begin(), candidates.end(),
                            [&](const std::filesystem::path& name) { return PathText(name) == parts[i]; });
    }
    Lookup best;
    for (const std::filesystem::path& candidate : candidates) {
      std::vector<std::string> inside = below;
      inside.push_back(PathText(candidate));
      std::unique_ptr<OpenedFolder> next;
      const Status opened = folder.OpenFolder(candidate, &next);
      Lookup found = opened.ok() ? Find(*next, key + "/" + PathText(candidate), inside, parts)
                                 : Lookup{Lookup::Kind::kUnreadableFolder, inside, opened};
      if (found.kind == Lookup::Kind::kFound) return found;
      if (best.kind == Lookup::Kind::kMissing) best = std::move(found);
    }
    if (candidates.empty()) {
      const auto passed = names.passed.find(wanted);
      if (passed != names.passed.end()) {
        below.push_back(PathText(passed->second.name));
        return {passed->second.link ? Lookup::Kind::kLinkedFolder : Lookup::Kind::kHiddenFolder, below, {}};
      }
    }
    return best;
  }

  // The names of `folder`, whose path below the top (names on disk) is `key`.
  const Names& NamesOf(OpenedFolder& folder, const std::string& key) {
    const auto known = names_.find(key);
    if (known != names_.end()) return known->second;
    Names& names = names_[key];
    const FolderListing listing = folder.List("*.*");
    names.status = listing.status;
    for (const ListedFile& file : listing.files) names.files.insert(FoldLetterCase(PathText(file.name)));
    for (const std::filesystem::path& sub : listing.folders) names.folders[FoldLetterCase(PathText(sub))].push_back(sub);
    for (const PassedFolder& passed : listing.passed_folders) {
      names.passed.emplace(FoldLetterCase(PathText(passed.name)), passed);
    }
    return names;
  }

  OpenedFolder& top_;
  std::map<std::string, Names> names_;
};

// Components joined as a project writes them.
std::string Joined(const std::vector<std::string>& parts, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count && i < parts.size(); ++i) joined += (i == 0 ? "" : "\\") + parts[i];
  return joined;
}

std::string Quoted(std::string_view text) { return "„" + std::string(text) + "“"; }

// True when the file that `value` names from the project folder `folder` (below the top), and
// that lies outside the top folder, is there: climbs from the top folder to the parents the
// entry names, then goes down through their folders (letter case ignored, as Windows does).
bool ExistsOutside(OpenedFolder& top, std::vector<std::string> down, std::string_view value) {
  std::size_t ups = 0;
  for (const std::string& part : Components(value)) {
    if (part == ".") continue;
    if (part != "..") {
      down.push_back(part);
    } else if (down.empty()) {
      ++ups;
    } else {
      down.pop_back();
    }
  }
  if (down.empty()) return false;
  std::unique_ptr<OpenedFolder> owned;
  OpenedFolder* folder = &top;
  for (std::size_t i = 0; i < ups; ++i) {
    std::unique_ptr<OpenedFolder> parent;
    if (!folder->OpenParent(&parent).ok()) return false;
    owned = std::move(parent);
    folder = owned.get();
  }
  for (std::size_t i = 0; i < down.size(); ++i) {
    const FolderListing listing = folder->List("*.*");
    if (!listing.status.ok()) return false;
    const std::string wanted = FoldLetterCase(down[i]);
    if (i + 1 == down.size()) {
      return std::any_of(listing.files.begin(), listing.files.end(),
                         [&](const ListedFile& file) { return FoldLetterCase(PathText(file.name)) == wanted; });
    }
    const auto sub = std::find_if(listing.folders.begin(), listing.folders.end(), [&](const std::filesystem::path& name) {
      return FoldLetterCase(PathText(name)) == wanted;
    });
    std::unique_ptr<OpenedFolder> next;
    if (sub == listing.folders.end() || !folder->OpenFolder(*sub, &next).ok()) return false;
    owned = std::move(next);
    folder = owned.get();
  }
  return false;
}

// Why a file outside the top folder is missing: it is there, and the tree above both would
// bring it along; or it is not there either. The spelling in which it was found is shown.
std::string OutsideMessage(OpenedFolder& top, const std::vector<std::string>& folder,
                           const std::vector<std::string>& spellings) {
  for (const std::string& spelling : spellings) {
    if (ExistsOutside(top, folder, spelling)) {
      return Quoted(spelling) + " fehlt im Zielverzeichnis: Die Datei liegt außerhalb des Quellverzeichnisses. Ein "
                                "gemeinsames übergeordnetes Verzeichnis mit --recursive konvertieren.";
    }
  }
  return Quoted(spellings.front()) + " fehlt im Zielverzeichnis: Der Eintrag zeigt aus dem Quellverzeichnis "
                                     "hinaus, und auch dort fehlt die Datei. Eintrag prüfen.";
}

// Why the file that an entry names is not in the target, and what to do. `folder` is the
// project file's folder below the top, `spellings` those of the entry's value.
std::string MissingFileMessage(SourceNames& source, OpenedFolder& top, const std::vector<std::string>& folder,
                               const std::vector<std::string>& spellings, bool recursive) {
  const std::string& value = spellings.front();
  std::string missing = Quoted(value) + " fehlt im Zielverzeichnis: ";
  if (IsAbsolute(value)) {
    return missing + "Der Pfad ist absolut und zeigt aus dem Quellverzeichnis hinaus. Datei von Hand übernehmen "
                     "und den Eintrag anpassen.";
  }
  // The first spelling found wins; else what the first spelling that leads anywhere tells.
  Lookup found;
  bool inside = false;
  for (const std::string& spelling : spellings) {
    std::optional<std::vector<std::string>> resolved = Resolve(folder, spelling);
    if (!resolved) continue;
    inside = true;
    Lookup lookup = source.Find(*resolved);
    if (lookup.kind == Lookup::Kind::kFound || found.kind == Lookup::Kind::kMissing) {
      found = std::move(lookup);
      // Named as the reading that found it.
      if (found.kind != Lookup::Kind::kMissing) missing = Quoted(spelling) + " fehlt im Zielverzeichnis: ";
    }
    if (found.kind == Lookup::Kind::kFound) break;
  }
  if (!inside) return OutsideMessage(top, folder, spellings);
  const std::vector<std::string>& parts = found.parts;
  switch (found.kind) {
    case Lookup::Kind::kMissing:
      return missing + "Die Datei fehlt auch im Quellverzeichnis.";
    case Lookup::Kind::kHiddenFolder:
      return missing + "Die Datei liegt im versteckten Verzeichnis " + Quoted(Joined(parts, parts.size())) +
             " des Quellverzeichnisses; versteckte Verzeichnisse werden nicht übertragen. Datei von Hand übernehmen.";
    case Lookup::Kind::kLinkedFolder:
      return missing + "Die Datei liegt hinter " + Quoted(Joined(parts, parts.size())) +
             ", einer symbolischen Verknüpfung auf ein Verzeichnis des Quellverzeichnisses; symbolische "
             "Verknüpfungen werden nicht verfolgt. Datei von Hand übernehmen.";
    case Lookup::Kind::kUnreadableFolder: {
      const int error = found.status.error_number();
      return missing + (parts.empty() ? std::string("Das Quellverzeichnis") : "Das Verzeichnis " +
                                                                                   Quoted(Joined(parts, parts.size())) +
                                                                                   " des Quellverzeichnisses") +
             " kann nicht gelesen werden" + (error != 0 ? " (" + GermanErrorText(error) + ")" : std::string()) + ".";
    }
    case Lookup::Kind::kFound:
      break;
  }
  if (!recursive && parts.size() > 1) {
    return missing + "Die Datei liegt im Unterverzeichnis " + Quoted(Joined(parts, parts.size() - 1)) +
           " des Quellverzeichnisses, das nicht konvertiert wurde. Mit --recursive konvertieren.";
  }
  return missing + "Die Datei liegt im Quellverzeichnis, wurde aber nicht übertragen (siehe die Liste der nicht "
                   "übertragenen Dateien).";
}

std::string ControlMessage(int kind) {
  if (kind == kWatchChart) {
    return "Das Diagramm-Steuerelement der Version 5 ersetzt Visual Basic 6 durch MSCHRT20.OCX: den Verweis von "
           "Hand auf {65E121D4-0C60-11D2-A9FC-0000F8754DA1}#2.0#0; MSCHRT20.OCX ändern und das Präfix "
           "MSChart20Lib. verwenden.";
  }
  return "Das Datengitter DBGRID32.OCX gehört in Visual Basic 6 zu einer anderen Datenanbindung und wird nicht "
         "automatisch ersetzt: von Hand durch ein Datengitter von Visual Basic 6 ersetzen.";
}

// A missing file's message as a dry run says it: what would happen, not what happened.
std::string AsWouldBe(std::string message) {
  static const std::pair<std::string_view, std::string_view> kWouldBe[] = {
      {"fehlt im Zielverzeichnis", "würde im Zielverzeichnis fehlen"},
      {"wurde aber nicht übertragen", "würde aber nicht übertragen"},
      {"das nicht konvertiert wurde", "das nicht konvertiert würde"},
  };
  for (const auto& [done, would] : kWouldBe) {
    const std::size_t at = message.find(done);
    if (at != std::string::npos) message.replace(at, done.size(), would);
  }
  return message;
}

// A library that no form of the project places: its reference is not needed.
std::string UnusedControlMessage(int kind) {
  return std::string(kind == kWatchChart ? "Das Diagramm-Steuerelement der Version 5 (MSCHART.OCX)"
                                         : "Das Datengitter DBGRID32.OCX") +
         " wird von keinem Formular des Projekts verwendet: den Verweis einfach entfernen.";
}

std::string DuplicateMessage(const FileFindings::Duplicate& duplicate, bool complete, bool dry_run) {
  auto version = [](const std::string& text) { return text.empty() ? std::string("ohne Version") : "Version " + text; };
  std::string text = "Die Projektdatei verweist zweimal auf die Bibliothek " + duplicate.class_id + ": Zeile " +
                     std::to_string(duplicate.first_line) + " (" +
                     version(duplicate.first_version) + ") und Zeile " + std::to_string(duplicate.line) + " (" +
                     version(duplicate.version) + ").";
  if (duplicate.removed) {
    return text + " Zeile " + std::to_string(duplicate.line) + (dry_run ? " würde entfernt: " : " wurde entfernt: ") +
           Quoted(duplicate.text) + "; die erste bleibt.";
  }
  if (complete) return text + " Die Zeile ist zu lang, um entfernt zu werden: von Hand eine der beiden entfernen.";
  return text + " Von Hand eine der beiden entfernen oder mit --complete konvertieren (behält die erste).";
}

// Whether the project file `project` places controls of `kind` on a form: true when a file that
// one of its entries names does, or when such a file was not transferred (then it cannot be told).
bool ProjectUses(const FileFindings& project, int kind, const std::set<std::string>& present,
                 const std::map<std::string, unsigned>& uses) {
  std::vector<std::string> folder = Components(PathText(project.relative));
  if (!folder.empty()) folder.pop_back();
  for (const FileFindings::Entry& entry : project.entries) {
    bool transferred = false;
    for (const std::string& spelling : Spellings(entry.value)) {
      const std::optional<std::vector<std::string>> resolved = Resolve(folder, spelling);
      if (!resolved || present.count(Key(*resolved)) == 0) continue;
      transferred = true;
      const auto used = uses.find(Key(*resolved));
      if (used != uses.end() && (used->second & (1u << kind)) != 0) return true;
    }
    if (!transferred) return true;
  }
  return false;
}

}  // namespace

std::string_view HintKindName(std::string_view kind) {
  if (kind == kHintMissingProjectFile) return "Fehlende Projektdateien";
  if (kind == kHintVb5ClassId) return "Klassen-IDs der VB5-Steuerelemente";
  if (kind == kHintReplacedControl) return "Ersetzte Steuerelemente";
  if (kind == kHintDuplicateReference) return "Doppelte Verweise";
  return "Zeilenenden";
}

const std::vector<WatchedText>& ResultWatch() {
  static const std::vector<WatchedText> kWatch = [] {
    // The bare class ids of the version 5 controls and their sub-objects, as the complete key
    // table names them.
    std::vector<WatchedText> watch;
    const KeyTable table = KeyTable::Build(true);
    for (int i = KeyTable::kLower; i <= table.upper(); ++i) {
      const std::string_view old_key = table.OldKey(i);
      if (old_key.front() == '{' && old_key.find('#') == std::string_view::npos) {
        watch.push_back({std::string(old_key), kWatchVb5});
      }
    }
    watch.push_back({"{02B5E320-7292-11CF-93D5-0020AF99504A}", kWatchChart});
    watch.push_back({"{00028C01-0000-0000-0000-000000000046}", kWatchDataGrid});
    // The type prefixes of those two: a form that places such a control names them.
    watch.push_back({"MSChartLib.", kWatchChartPrefix});
    watch.push_back({"MSDBGrid.", kWatchDataGridPrefix});
    return watch;
  }();
  return kWatch;
}

FindingsCollector::FindingsCollector(TextSink& next, NativeString relative)
    : next_(next),
      entries_(kLongestEntryLine, [this](std::uint64_t number, std::string_view text, const LineSplitter::Whole&) {
        if (auto value = EntryValue(text, findings_.group)) findings_.entries.push_back({number, std::move(*value)});
        NoteObjectLine(number, text);
      }) {
  const std::string suffix = LastSuffix(relative);
  findings_.group = suffix == "vbg";
  project_file_ = findings_.group || suffix == "vbp";
  findings_.relative = std::move(relative);
}

Status FindingsCollector::Append(std::string_view bytes) {
  if (project_file_) entries_.Feed(bytes);
  return next_.Append(bytes);
}

void FindingsCollector::NoteObjectLine(std::uint64_t number, std::string_view text) {
  if (findings_.group) return;
  std::optional<ObjectReference> reference = ParseObjectLine(text);
  if (!reference) return;
  const auto first = object_lines_.find(reference->class_id);
  if (first == object_lines_.end()) {
    if (object_lines_.size() < DuplicateReferenceFilter::kMostClassIds) {
      object_lines_.emplace(std::move(reference->class_id), std::make_pair(number, std::move(reference->version)));
    }
  } else if (findings_.duplicates.size() < kMostControlLines) {
    findings_.duplicates.push_back(
        {first->second.first, first->second.second, number, std::move(reference->version), std::string(text),
         first->first});
  }
}

void FindingsCollector::Removed(std::uint64_t line) {
  // A line is dropped after the piece of text that holds it passed here, so it is among the
  // last duplicates noted.
  for (auto at = findings_.duplicates.rbegin(); at != findings_.duplicates.rend() && at->line >= line; ++at) {
    if (at->line == line) at->removed = true;
  }
}

void FindingsCollector::Found(int kind, std::uint64_t line, std::string_view text) {
  // A type prefix marks the use of its library, and nothing else.
  const int library = kind == kWatchChartPrefix ? kWatchChart : kind == kWatchDataGridPrefix ? kWatchDataGrid : kind;
  if (library > 0 && library < 32) findings_.uses |= 1u << library;
  if (library != kind) return;
  if (kind == kWatchVb5) {
    if (!findings_.vb5_first_lines.empty() && findings_.vb5_first_lines.back() == line) return;
    ++findings_.vb5_lines;
    if (findings_.vb5_first_lines.size() < kFirstLinesShown) findings_.vb5_first_lines.push_back(line);
    if (findings_.vb5_first_text.empty()) findings_.vb5_first_text = text;
    return;
  }
  std::vector<FileFindings::ControlLine>& lines = findings_.replaced;
  if (!lines.empty() && lines.back().line == line && lines.back().kind == kind) return;
  if (lines.size() < kMostControlLines) {
    lines.push_back({line, kind, std::string(text)});
  } else {
    ++findings_.replaced_more;
  }
}

FileFindings FindingsCollector::Finish() {
  if (project_file_) entries_.Finish();
  return std::move(findings_);
}

std::vector<Hint> CheckResult(const std::vector<TransferredFile>& transferred,
                              const std::vector<FileFindings>& findings, OpenedFolder& source, bool recursive,
                              bool complete, bool dry_run) {
  std::set<std::string> present;
  std::uint64_t line_ends = 0;
  for (const TransferredFile& file : transferred) {
    present.insert(Key(Components(PathText(file.relative))));
    line_ends += file.rewritten && file.line_ends_changed ? 1 : 0;
  }
  std::vector<Hint> hints;
  SourceNames source_names(source);
  for (const FileFindings& file : findings) {
    std::vector<std::string> folder = Components(PathText(file.relative));
    if (!folder.empty()) folder.pop_back();
    for (const FileFindings::Entry& entry : file.entries) {
      const std::vector<std::string> spellings = Spellings(entry.value);
      const bool transferred_file = std::any_of(spellings.begin(), spellings.end(), [&](const std::string& spelling) {
        const std::optional<std::vector<std::string>> resolved = Resolve(folder, spelling);
        return resolved && present.count(Key(*resolved)) != 0;
      });
      if (transferred_file) continue;
      hints.push_back({kHintMissingProjectFile, file.relative, entry.line, entry.value,
                       MissingFileMessage(source_names, source, folder, spellings, recursive)});
      if (dry_run) hints.back().message = AsWouldBe(std::move(hints.back().message));
    }
  }
  for (const FileFindings& file : findings) {
    if (file.vb5_lines == 0) continue;
    std::string lines;
    for (std::uint64_t line : file.vb5_first_lines) lines += (lines.empty() ? "" : ", ") + std::to_string(line);
    if (file.vb5_lines > file.vb5_first_lines.size()) lines += " …";
    hints.push_back({kHintVb5ClassId, file.relative, file.vb5_first_lines.front(), file.vb5_first_text,
                     std::to_string(file.vb5_lines) + (file.vb5_lines == 1 ? " Zeile" : " Zeilen") +
                         " mit Klassen-IDs der VB5-Steuerelemente (" + (file.vb5_lines == 1 ? "Zeile " : "Zeilen ") +
                         lines + ")" +
                         (complete ? ": von Hand prüfen." : ": mit --complete konvertieren."),
                     file.vb5_lines});
  }
  for (const FileFindings& file : findings) {
    for (const FileFindings::Duplicate& duplicate : file.duplicates) {
      hints.push_back({kHintDuplicateReference, file.relative, duplicate.line, duplicate.text,
                       DuplicateMessage(duplicate, complete, dry_run)});
    }
  }
  // The kinds of controls each file places, by its path in one letter case.
  std::map<std::string, unsigned> uses;
  for (const FileFindings& file : findings) {
    if (!IsProjectFileName(file.relative) && !file.group) uses[Key(Components(PathText(file.relative)))] |= file.uses;
  }
  for (const FileFindings& file : findings) {
    const bool project = IsProjectFileName(file.relative);
    for (const FileFindings::ControlLine& control : file.replaced) {
      const bool unused = project && !ProjectUses(file, control.kind, present, uses);
      hints.push_back({kHintReplacedControl, file.relative, control.line, control.text,
                       unused ? UnusedControlMessage(control.kind) : ControlMessage(control.kind)});
    }
    if (file.replaced_more > 0) {
      hints.push_back({kHintReplacedControl, file.relative, 0, {},
                       "Und " + std::to_string(file.replaced_more) + " weitere Zeilen mit solchen Steuerelementen.",
                       file.replaced_more});
    }
  }
  if (line_ends > 0 && dry_run) {
    hints.push_back({kHintLineEnds, {}, 0, {},
                     std::to_string(line_ends) + (line_ends == 1 ? " umzuschreibende Datei hat" : " umzuschreibende Dateien haben") +
                         " andere Zeilenenden als CR LF; sie enden nach der Konvertierung auf CR LF.",
                     line_ends});
  } else if (line_ends > 0) {
    hints.push_back({kHintLineEnds, {}, 0, {},
                     std::to_string(line_ends) + (line_ends == 1 ? " umgeschriebene Datei hatte" : " umgeschriebene Dateien hatten") +
                         " andere Zeilenenden als CR LF; sie enden jetzt auf CR LF.",
                     line_ends});
  }
  return hints;
}

namespace {

// A hint's text as the window shows it: the window has no options, so an option of the command
// line is named with the command that has it.
std::string ForWindow(std::string text) {
  for (std::string_view option : {std::string_view("--recursive"), std::string_view("--complete")}) {
    const std::string command = "„tavrin-convert " + std::string(option) + " QUELLE ZIEL“";
    for (std::size_t at = text.find(option); at != std::string::npos; at = text.find(option, at + command.size())) {
      text.replace(at, option.size(), command);
    }
  }
  return text;
}

}  // namespace

std::string MissingFilesMessage(const std::vector<Hint>& hints, std::size_t most) {
  if (hints.empty()) return {};
  std::string text = "Nach der Konvertierung bleibt von Hand zu tun:";
  std::size_t shown = 0;
  for (std::string_view kind : kHintKinds) {
    std::uint64_t count = 0;
    for (const Hint& hint : hints) count += hint.kind == kind ? hint.count : 0;
    if (count == 0) continue;
    text += "\r\n\r\n" + std::string(HintKindName(kind)) + ": " + std::to_string(count);
    for (const Hint& hint : hints) {
      if (hint.kind != kind || shown == most) continue;
      ++shown;
      text += "\r\n";
      if (!hint.file.empty()) {
        text += ShownText(PathText(hint.file)) + (hint.line > 0 ? ", Zeile " + std::to_string(hint.line) : "") + ": ";
      }
      text += ShownText(ForWindow(hint.message));
    }
  }
  if (const std::size_t rest = hints.size() - shown; rest > 0) {
    text += "\r\n\r\n(und " + std::to_string(rest) + (rest == 1 ? " weiterer Hinweis" : " weitere Hinweise") +
            "; alle nennt „tavrin-convert --all-hints QUELLE ZIEL“)";
  }
  return text;
}

}  // namespace tavrin
