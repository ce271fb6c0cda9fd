#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"

namespace tavrin::testing {
namespace {

using UnixName = char*(CDECL*)(LPCWSTR);

// Wine's own function that names the Unix file behind a Windows path; null elsewhere.
UnixName WineUnixName() {
  return reinterpret_cast<UnixName>(reinterpret_cast<void*>(  // through void*: no function type is assumed
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

std::wstring UnixText(UnixName unix_name, const std::filesystem::path& path) {
  char* name = unix_name(path.c_str());
  std::wstring text = name == nullptr ? std::wstring() : PathFromText(name).native();
  HeapFree(GetProcessHeap(), 0, name);
  return text;
}

// Runs a Unix shell command under Wine, which starts Unix programs too, but without a handle
// to wait for: the command makes a marker file when it succeeded, and the marker is waited for.
// `command` gets the Unix names of `paths` as "$1", "$2", ...
bool RunUnixCommand(const std::wstring& command, const std::vector<std::filesystem::path>& paths) {
  const UnixName unix_name = WineUnixName();
  if (unix_name == nullptr) return false;  // not Wine
  static int serial = 0;
  std::wstring temp(MAX_PATH + 1, L'\0');
  temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
  const std::filesystem::path marker =
      std::filesystem::path(temp) / (L"tavrin-fertig-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                     std::to_wstring(++serial));
  std::wstring line = L"/bin/sh -c \"" + command + L" && : > \\\"$0\\\"\" \"" + UnixText(unix_name, marker) + L"\"";
  for (const std::filesystem::path& path : paths) {
    line += L" \"" + (path.is_absolute() ? UnixText(unix_name, path) : path.generic_wstring()) + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  for (int waited = 0; waited < 1000; ++waited) {
    if (DeleteFileW(marker.c_str())) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

void MakeLink(const std::filesystem::path& target, const std::filesystem::path& link, bool folder) {
  const DWORD flags = (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
  // Wine answers yes and makes nothing, so the link is looked for; only a listing finds a
  // link whose target is missing.
  if (CreateSymbolicLinkW(link.c_str(), target.c_str(), flags)) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(link.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      FindClose(find);
      return;
    }
  }
  // Wine makes no Windows links of its own; it shows the links of the Unix system beneath as
  // Windows shows its links, so there a Unix link stands for one.
  EXPECT_TRUE(RunUnixCommand(L"ln -s -- \\\"$1\\\" \\\"$2\\\"", {target, link}))
      << "cannot make the link " << PathText(link);
}

bool LinksAreSeenAsLinks() { return WineUnixName() == nullptr; }

void Hide(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
              SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN))
      << "cannot hide " << PathText(path);
}

std::size_t OpenHandleCount() {
  // Handle values are multiples of four; a value names an open handle when the system has
  // information on it. (Wine does not count handles for GetProcessHandleCount.)
  std::size_t count = 0;
  for (std::uintptr_t value = 4; value < (1u << 16); value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

void HideDotEntries(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.path().filename().native().starts_with(L".")) Hide(entry.path());
  }
}

std::shared_ptr<void> UnreadableFile(const std::filesystem::path& file) {
  const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "cannot make " << PathText(file);
  return std::shared_ptr<void>(handle, [](HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  });
}

void RemoveTree(const std::filesystem::path& folder) {
  // Under Wine, a Unix link whose target went first can no longer be seen, nor removed, from
  // Windows; the Unix side removes everything.
  if (RunUnixCommand(L"rm -rf -- \\\"$1\\\"", {folder})) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace tavrin::testing
