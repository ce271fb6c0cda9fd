#pragma once

#include <stdlib.h>

#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tavrin::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Paths are made from bytes, never from Qt text.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-lists-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) qFatal("cannot make a scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Makes the folder `relative` (with its parents) and returns its path.
  std::filesystem::path Folder(const std::filesystem::path& relative) const {
    std::filesystem::create_directories(path_ / relative);
    return path_ / relative;
  }

  // Makes an empty file `relative` and returns its path.
  std::filesystem::path File(const std::filesystem::path& relative) const {
    std::ofstream(path_ / relative, std::ios::binary).put('x');
    return path_ / relative;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tavrin::testing
