#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "cli/pending_stream_buffer.h"
#include "cli/standard_streams.h"
#include "runtime/status.h"

namespace tavrin::cli {
namespace {

// The width of the terminal on file descriptor `fd`, or 80 when it cannot be told.
int TerminalColumns(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

// Text for one standard descriptor, written with write(2). The first failed write makes the
// stream fail and is remembered (EPIPE for a closed pipe), so the command can say why.
class DescriptorBuffer : public PendingStreamBuffer {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) {}

  int error_number() const { return error_number_; }

 private:
  // Writes what is pending. Once a write failed nothing more is tried: the rest is lost too.
  bool Flush() override {
    std::string_view bytes = pending_;
    while (!bytes.empty() && error_number_ == 0) {
      const ssize_t n = write(fd_, bytes.data(), bytes.size());
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
      } else if (n == 0) {
        error_number_ = EIO;
      } else if (errno != EINTR) {
        error_number_ = errno;
      }
    }
    pending_.clear();
    return error_number_ == 0;
  }

  int fd_;
  int error_number_ = 0;
};

Console MakeConsole() {
  static DescriptorBuffer out_buffer(STDOUT_FILENO);
  static DescriptorBuffer err_buffer(STDERR_FILENO);
  static std::ostream out(&out_buffer);
  static std::ostream err(&err_buffer);
  Console console{out, err};
  console.err_is_terminal = isatty(STDERR_FILENO) == 1;
  if (console.err_is_terminal) console.columns = TerminalColumns(STDERR_FILENO);
  console.output_failure = [] {
    const int error_number = out_buffer.error_number() != 0 ? out_buffer.error_number() : err_buffer.error_number();
    return error_number == 0 ? std::string() : GermanErrorText(error_number);
  };
  return console;
}

}  // namespace

Console& StandardConsole() {
  static Console console = MakeConsole();
  return console;
}

}  // namespace tavrin::cli
