#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "cli/pending_stream_buffer.h"
#include "cli/standard_streams.h"
#include "runtime/status.h"
#include "runtime/utf16.h"

namespace tavrin::cli {
namespace {

// Text for one standard handle. A console gets it through WriteConsoleW, so that every
// character shows as it is whatever the console's code page; a file or a pipe gets the UTF-8
// bytes unchanged. A failed write makes the stream fail, as the command expects.
class HandleBuffer : public PendingStreamBuffer {
 public:
  explicit HandleBuffer(HANDLE handle) : handle_(handle) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
  }

  bool console() const { return console_; }
  HANDLE handle() const { return handle_; }
  // The Windows error of the first failed write; 0 while none failed.
  DWORD error() const { return error_; }

 private:
  static constexpr DWORD kConsoleChunk = 8192;  // wide characters per WriteConsoleW

  // Writes what is pending; on a console, a character cut at the end waits for its rest.
  bool Flush() override {
    const std::size_t take = console_ ? WholeUtf8Prefix(pending_) : pending_.size();
    const bool written = console_ ? WriteConsole(std::string_view(pending_).substr(0, take))
                                  : WriteBytes(std::string_view(pending_).substr(0, take));
    pending_.erase(0, take);
    if (!written && error_ == 0) error_ = GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
    return written;
  }

  bool WriteConsole(std::string_view text) {
    const std::u16string wide = Utf16FromUtf8(text);
    for (std::size_t done = 0; done < wide.size();) {
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, kConsoleChunk));
      DWORD written = 0;
      if (!WriteConsoleW(handle_, reinterpret_cast<const wchar_t*>(wide.data() + done), want, &written, nullptr) ||
          written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }

  bool WriteBytes(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD written = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      if (!WriteFile(handle_, bytes.data(), want, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }

  HANDLE handle_;
  bool console_ = false;
  DWORD error_ = 0;
};

// True when the console behind `handle` follows the cursor controls that the progress bar
// uses ("\r", "\x1b[K"); turns them on where Windows leaves them off.
bool AcceptsCursorControls(HANDLE handle) {
  DWORD mode = 0;
  if (!GetConsoleMode(handle, &mode)) return false;
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
  return SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

int ConsoleColumns(HANDLE handle) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(handle, &info)) return 80;
  const int columns = info.srWindow.Right - info.srWindow.Left + 1;
  return columns > 0 ? columns : 80;
}

Console MakeConsole() {
  static HandleBuffer out_buffer(GetStdHandle(STD_OUTPUT_HANDLE));
  static HandleBuffer err_buffer(GetStdHandle(STD_ERROR_HANDLE));
  static std::ostream out(&out_buffer);
  static std::ostream err(&err_buffer);
  Console console{out, err};
  console.err_is_terminal = err_buffer.console() && AcceptsCursorControls(err_buffer.handle());
  if (console.err_is_terminal) console.columns = ConsoleColumns(err_buffer.handle());
  console.output_failure = [] {
    const DWORD error = out_buffer.error() != 0 ? out_buffer.error() : err_buffer.error();
    // A reader that went away: the pipe is being closed, broken or no longer connected.
    if (error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED) {
      return GermanErrorText(EPIPE);
    }
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return GermanErrorText(ENOSPC);
    return error == 0 ? std::string() : "Windows-Fehler " + std::to_string(error);
  };
  return console;
}

}  // namespace

Console& StandardConsole() {
  static Console console = MakeConsole();
  return console;
}

}  // namespace tavrin::cli
