// RunTool on Windows: tavrin-convert.exe beside the test program, started with its arguments
// quoted as the C runtime reads them, both output streams read through pipes.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "runtime/path_text.h"
#include "tests/cli/tool_run.h"

namespace tavrin::testing {
namespace {

// One argument in the form that CommandLineToArgvW and the C runtime split back into it.
std::wstring Quoted(const std::wstring& word) {
  if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) return word;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');  // before the closing quote
  return quoted + L"\"";
}

std::wstring ToolPath() {
  std::wstring own(32768, L'\0');
  own.resize(GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size())));
  return (std::filesystem::path(own).parent_path() / L"tavrin-convert.exe").native();
}

// Reads `pipe` to its end into `sink`.
void Drain(HANDLE pipe, std::string* sink) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) sink->append(buffer, got);
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& words, const std::filesystem::path& working_folder,
                bool err_on_terminal, const char* out_to) {
  ToolRun run;
  if (err_on_terminal || out_to != nullptr) {
    ADD_FAILURE() << "no terminal and no other output file for the tool on this system";
    return run;
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out_read, out_write, err_read, err_write;
  if (!CreatePipe(&out_read, &out_write, &inherit, 0) || !CreatePipe(&err_read, &err_write, &inherit, 0)) {
    ADD_FAILURE() << "CreatePipe failed";
    return run;
  }
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
  HANDLE null_input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                  0, nullptr);

  const std::wstring tool = ToolPath();
  std::wstring command = Quoted(tool);
  for (const std::string& word : words) command += L" " + Quoted(PathFromText(word).native());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = null_input;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(tool.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, working_folder.empty() ? nullptr : working_folder.c_str(), &startup,
                                      &process);
  CloseHandle(out_write);
  CloseHandle(err_write);
  CloseHandle(null_input);
  if (!started) {
    ADD_FAILURE() << "cannot start " << PathText(tool) << " (" << GetLastError() << ")";
  } else {
    std::thread err_reader(Drain, err_read, &run.err);
    Drain(out_read, &run.out);
    err_reader.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exit_code = static_cast<int>(code);
    PROCESS_MEMORY_COUNTERS memory{};
    if (K32GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
      run.peak_kib = static_cast<long>(memory.PeakWorkingSetSize / 1024);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(out_read);
  CloseHandle(err_read);
  return run;
}

}  // namespace tavrin::testing
