#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"

namespace tavrin::testing {

TempFolder::TempFolder() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / ("tavrin-test-" + std::to_string(random() % 1000000000));
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  ADD_FAILURE() << "cannot make a temporary folder";
}

TempFolder::~TempFolder() {
  if (!path_.empty()) RemoveTree(path_);
}

std::filesystem::path TempFolder::folder_path() const { return Joined(path_, ""); }

std::filesystem::path TempFolder::MakeFolder(const std::filesystem::path& relative) const {
  std::filesystem::path folder = path_ / relative;
  std::filesystem::create_directories(folder);
  return folder;
}

std::filesystem::path TempFolder::WriteFile(const std::filesystem::path& relative,
                                            std::string_view bytes) const {
  std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  EXPECT_TRUE(out) << "cannot write " << PathText(file);
  return file;
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << PathText(file);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Separator() { return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator)); }

std::vector<std::string> EntryNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(PathText(it->path().filename()));
  }
  if (error) ADD_FAILURE() << "cannot list " << PathText(folder) << ": " << error.message();
  std::sort(names.begin(), names.end());
  return names;
}

bool IsTemporaryName(std::string_view name) {
  constexpr std::string_view kStart = ".tavrin-";
  constexpr std::string_view kEnd = ".tmp";
  if (name.size() != kStart.size() + 16 + kEnd.size() || !name.starts_with(kStart) || !name.ends_with(kEnd)) {
    return false;
  }
  const std::string_view digits = name.substr(kStart.size(), 16);
  return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::filesystem::path Joined(const std::filesystem::path& folder, std::string_view tail) {
  std::string text = PathText(folder);
  if (text.empty() || text.back() != Separator()[0]) text += Separator();
  return PathFromText(text + std::string(tail));
}

}  // namespace tavrin::testing
