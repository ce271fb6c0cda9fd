#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes, also after a failed assertion.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `path()` with a separator at the end, as a folder list's folder path has it.
  std::filesystem::path folder_path() const;

  // Makes a subfolder (with parents) and returns its path.
  std::filesystem::path MakeFolder(const std::filesystem::path& relative) const;
  // Writes `bytes` exactly into the file `relative` (parents made as needed) and returns its path.
  std::filesystem::path WriteFile(const std::filesystem::path& relative, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file as bytes; fails the current test when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

// `folder` followed by the system's separator and `tail` (UTF-8), as one text: the way a
// folder path and a name or wildcard are joined ("/p/" "*.*", "C:\p\" "*.*").
std::filesystem::path Joined(const std::filesystem::path& folder, std::string_view tail);

// The separator of folder paths on this system, as text ("/" or "\").
std::string Separator();

// The names of every entry of `folder`, hidden ones included, sorted; fails the current test
// when it cannot be listed.
std::vector<std::string> EntryNames(const std::filesystem::path& folder);

// True for the hidden name under which a target file is written until it is complete
// (".tavrin-" 16 hex digits ".tmp").
bool IsTemporaryName(std::string_view name);

}  // namespace tavrin::testing
