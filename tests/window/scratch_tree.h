#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace tavrin::testing {

// A temporary folder tree for one test, removed with everything in it afterwards.
class ScratchTree {
 public:
  ScratchTree() : dir_(QDir::tempPath() + QStringLiteral("/tavrin-window-XXXXXX")) {
    root_ = std::filesystem::path(dir_.path().toStdString());
  }

  bool ok() const { return dir_.isValid(); }
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
  QTemporaryDir dir_;
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
