#include "cli/folders.h"

#include <cerrno>
#include <iterator>
#include <memory>
#include <set>
#include <system_error>

#include "conversion/folder_path.h"
#include "conversion/folder_tree_walk.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin::cli {

Status NormalizeFolder(const std::string& word, std::filesystem::path* folder) {
  using NativeString = std::filesystem::path::string_type;
  constexpr auto kSeparator = std::filesystem::path::preferred_separator;
  if (word.empty()) return Status::Error("Leerer Verzeichnisname");
  const std::filesystem::path named = PathFromText(word);
  const NativeString& text = named.native();
  const auto is_separator = [](auto c) { return c == '/' || c == kSeparator; };
  // A network path on Windows ("\\server\share\p"). The standard library neither takes it for
  // absolute nor keeps its two leading separators when it normalizes it.
  const bool network = kSeparator == '\\' && text.size() > 2 && is_separator(text[0]) && is_separator(text[1]);
  std::error_code error;
  std::filesystem::path absolute =
      network || named.is_absolute() ? named : std::filesystem::absolute(named, error);
  if (error) {
    return Status::Error("Verzeichnis kann nicht bestimmt werden: " + word + " (" + GermanErrorText(error.value()) +
                         ")");
  }
  NativeString absolute_text = absolute.native();
  // A leading "//" is kept apart from "/" by the path grammar, but on POSIX systems it is the
  // root; of a network path, one separator is set aside and put back after normalizing.
  while (absolute_text.size() >= 2 && is_separator(absolute_text[0]) && is_separator(absolute_text[1])) {
    absolute_text.erase(0, 1);
  }
  std::filesystem::path normal = std::filesystem::path(absolute_text).lexically_normal();
  // "/a/b/" keeps an empty last element; drop it so both spellings compare equal.
  if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
  if (network) normal = NativeString(1, kSeparator) + normal.native();
  *folder = std::move(normal);
  return Status::Ok();
}

Status CheckSourceFolder(FileServices& files, const std::filesystem::path& source) {
  std::unique_ptr<OpenedFolder> folder;
  Status status = files.OpenFolder(source, &folder);
  if (status.ok()) status = folder->List("*.*").status;
  if (status.ok()) return status;
  const std::string shown = PathText(source);
  switch (status.error_number()) {
    case ENOENT:
      return Status::Error("Quellverzeichnis nicht gefunden: " + shown);
    case ENOTDIR:
      return Status::Error("Quellverzeichnis ist kein Verzeichnis: " + shown);
    case 0:
      return Status::Error("Quellverzeichnis kann nicht gelesen werden: " + status.reason());
    default:
      return Status::Error("Quellverzeichnis kann nicht gelesen werden: " + shown + " (" +
                           GermanErrorText(status.error_number()) + ")");
  }
}

ProjectFilesBelow FindProjectFilesBelow(FileServices& files, const std::filesystem::path& source, std::size_t most) {
  ProjectFilesBelow below;
  std::unique_ptr<OpenedFolder> top;
  if (!files.OpenFolder(source, &top).ok()) return below;
  std::set<std::string> first;  // the smallest paths so far, at most `most`
  const FolderTreeWalk walk({top.get()}, "*.vbp", /*recursive=*/true);
  walk.Run(
      [&](const FolderTreeWalk::Relative& relative, const std::vector<OpenedFolder*>&, const FolderListing& listing) {
        if (relative.empty()) return true;  // the top folder has none, or there was no refusal
        for (const ListedFile& file : listing.files) {
          ++below.count;
          first.insert(ShownText(PathText(Join(relative, file.name.native()))));
          if (first.size() > most) first.erase(std::prev(first.end()));
        }
        return true;
      },
      [](const FolderTreeWalk::Relative&, const Status&, std::size_t) {});
  below.first.assign(first.begin(), first.end());
  return below;
}

std::string ProjectsBelowNote(const ProjectFilesBelow& below) {
  if (below.count == 0) return {};
  std::string text = below.count == 1 ? "Eine Projektdatei liegt in einem Unterverzeichnis: "
                                      : std::to_string(below.count) + " Projektdateien liegen in Unterverzeichnissen" +
                                            (below.first.size() < below.count ? ", die ersten: " : ": ");
  for (std::size_t i = 0; i < below.first.size(); ++i) text += (i == 0 ? "" : ", ") + below.first[i];
  return text + ". Mit --recursive wird der ganze Verzeichnisbaum konvertiert.";
}

}  // namespace tavrin::cli
