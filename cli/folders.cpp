#include "cli/folders.h"

#include <system_error>

namespace tavrin::cli {
namespace {

Status FolderError(const char* what, const std::filesystem::path& folder, const std::error_code& error) {
  return Status::Error(std::string(what) + ": " + folder.native() + " (" + GermanErrorText(error.value()) + ")");
}

}  // namespace

Status NormalizeFolder(const std::string& word, std::filesystem::path* folder) {
  if (word.empty()) return Status::Error("Leerer Verzeichnisname");
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(word, error);
  if (error) return FolderError("Verzeichnis kann nicht bestimmt werden", word, error);
  // A leading "//" is kept apart from "/" by the path grammar, but on this system it is the root.
  std::string text = absolute.native();
  while (text.size() >= 2 && text[0] == '/' && text[1] == '/') text.erase(0, 1);
  std::filesystem::path normal = std::filesystem::path(text).lexically_normal();
  // "/a/b/" keeps an empty last element; drop it so both spellings compare equal.
  if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
  *folder = std::move(normal);
  return Status::Ok();
}

Status CheckSourceFolder(const std::filesystem::path& source) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(source, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return Status::Error("Quellverzeichnis nicht gefunden: " + source.native());
  }
  if (error) return FolderError("Quellverzeichnis kann nicht gelesen werden", source, error);
  if (status.type() != std::filesystem::file_type::directory) {
    return Status::Error("Quellverzeichnis ist kein Verzeichnis: " + source.native());
  }
  std::filesystem::directory_iterator listing(source, error);
  if (error) return FolderError("Quellverzeichnis kann nicht gelesen werden", source, error);
  return Status::Ok();
}

}  // namespace tavrin::cli
