#include "tests/support/service_files.h"

#include <gtest/gtest.h>

#include <memory>

#include "runtime/path_text.h"

namespace tavrin::testing {

void MakeFoldersThrough(FileServices& files, const std::filesystem::path& folder) {
  if (!files.Missing(folder)) return;
  if (folder.has_relative_path() && folder.parent_path() != folder) MakeFoldersThrough(files, folder.parent_path());
  const Status status = files.MakeFolder(folder);
  EXPECT_TRUE(status.ok()) << PathText(folder) << ": " << status.reason();
}

void WriteFileThrough(FileServices& files, const std::filesystem::path& folder, const std::filesystem::path& name,
                      std::string_view bytes) {
  MakeFoldersThrough(files, folder);
  std::unique_ptr<OpenedFolder> opened;
  Status status = files.OpenFolder(folder, &opened);
  ASSERT_TRUE(status.ok()) << status.reason();
  std::unique_ptr<OutputFile> output;
  status = opened->CreateOutput(name, &output);
  ASSERT_TRUE(status.ok()) << status.reason();
  status = output->Write(bytes);
  EXPECT_TRUE(status.ok()) << status.reason();
  status = output->Close();
  EXPECT_TRUE(status.ok()) << status.reason();
}

std::string ReadFileThrough(FileServices& files, const std::filesystem::path& folder,
                            const std::filesystem::path& name) {
  std::unique_ptr<OpenedFolder> opened;
  Status status = files.OpenFolder(folder, &opened);
  if (!status.ok()) {
    ADD_FAILURE() << status.reason();
    return {};
  }
  std::unique_ptr<InputFile> input;
  status = opened->OpenInput(name, &input);
  if (!status.ok()) {
    ADD_FAILURE() << PathText(name) << ": " << status.reason();
    return {};
  }
  std::string bytes;
  char buffer[4096];
  for (std::size_t got = 1; got != 0;) {
    status = input->Read(buffer, sizeof buffer, &got);
    if (!status.ok()) {
      ADD_FAILURE() << PathText(name) << ": " << status.reason();
      return {};
    }
    bytes.append(buffer, got);
  }
  return bytes;
}

std::filesystem::path Chain(std::filesystem::path folder, int count, std::size_t length, char letter) {
  for (int level = 0; level < count; ++level) folder /= std::string(length, letter);
  return folder;
}

std::filesystem::path PathOfLength(const std::filesystem::path& folder, std::size_t length) {
  const std::size_t rest = length - folder.native().size() - 1;
  const int levels = static_cast<int>((rest - 1) / 101);
  return Chain(folder, levels, 100) / std::string(rest - 101 * static_cast<std::size_t>(levels), 'e');
}

}  // namespace tavrin::testing
