#pragma once

#include <stdlib.h>

#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace tavrin::testing {

// A temporary folder tree for one test, made under the system's temporary folder ($TMPDIR)
// and removed with everything in it when the object goes, also after a failed check. Names
// are handled as bytes, so entries whose names are not valid UTF-8 go too.
class ScratchTree {
 public:
  ScratchTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-window-XXXXXX").native();
    if (mkdtemp(pattern.data()) == nullptr) qFatal("cannot make a scratch folder in %s", pattern.c_str());
    root_ = pattern;
  }
  ~ScratchTree() {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
    if (error) qWarning("scratch folder %s not removed: %s", root_.c_str(), error.message().c_str());
  }
  ScratchTree(const ScratchTree&) = delete;
  ScratchTree& operator=(const ScratchTree&) = delete;

  const std::filesystem::path& root() const { return root_; }

  // Makes the folder `relative` (with its parents) and returns its path.
  std::filesystem::path Folder(const std::filesystem::path& relative) const {
    const std::filesystem::path folder = root_ / relative;
    std::filesystem::create_directories(folder);
    return folder;
  }

  // Writes `bytes` into the file `relative` (parents made as needed) and returns its path.
  std::filesystem::path File(const std::filesystem::path& relative, std::string_view bytes = "x") const {
    const std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path root_;
};

// Makes `folder` the process's current folder while it lives.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace tavrin::testing
