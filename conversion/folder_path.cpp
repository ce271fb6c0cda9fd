#include "conversion/folder_path.h"

namespace tavrin {

std::filesystem::path FolderPath(const std::filesystem::path& shown) {
  NativeString text = shown.native();
  if (text.empty() || text.back() != kSeparator) text.push_back(kSeparator);
  return std::filesystem::path(std::move(text));
}

NativeString FileNameFromPath(const NativeString& file) {
  const auto last = file.rfind(kSeparator);
  if (last == NativeString::npos) return file;
  return file.substr(last + 1);
}

NativeString GetSuffix(const NativeString& file) {
  const auto dot = file.find('.');
  if (dot == NativeString::npos) return {};
  return file.substr(dot + 1);
}

NativeString Join(const NativeString& relative, const NativeString& name) {
  if (relative.empty()) return name;
  NativeString joined;
  joined.reserve(relative.size() + 1 + name.size());
  joined.append(relative).push_back(kSeparator);
  joined.append(name);
  return joined;
}

std::filesystem::path Append(const std::filesystem::path& folder, const NativeString& tail) {
  return std::filesystem::path(folder.native() + tail);
}

}  // namespace tavrin
