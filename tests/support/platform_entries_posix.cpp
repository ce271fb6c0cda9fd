#include <gtest/gtest.h>

#include <iterator>
#include <system_error>

#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"

namespace tavrin::testing {

void MakeLink(const std::filesystem::path& target, const std::filesystem::path& link, bool /*folder*/) {
  std::error_code error;
  std::filesystem::create_symlink(target, link, error);
  EXPECT_FALSE(error) << "cannot make the link " << PathText(link) << ": " << error.message();
}

bool LinksAreSeenAsLinks() { return true; }

void Hide(const std::filesystem::path& path) {
  EXPECT_EQ(PathText(path.filename()).rfind('.', 0), 0u) << PathText(path) << " is not hidden";
}

std::size_t OpenHandleCount() {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                                std::filesystem::directory_iterator()));
}

void HideDotEntries(const std::filesystem::path& /*folder*/) {}

std::shared_ptr<void> UnreadableFile(const std::filesystem::path& file) {
  MakeLink("/proc/self/mem", file);
  return nullptr;
}

void RemoveTree(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace tavrin::testing
