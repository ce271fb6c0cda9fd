#include "tests/cli/tool_run.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <gtest/gtest.h>

namespace tavrin::testing {
namespace {

// Reads from both descriptors until each reports its end (a pseudo terminal ends with EIO
// once the tool has gone).
void Drain(int out_fd, int err_fd, std::string* out, std::string* err, std::size_t out_limit = SIZE_MAX) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {out, err};
  int open = 2;
  if (out_limit == 0) {  // gone before the tool writes a byte
    close(fds[0].fd);
    fds[0].fd = -1;
    --open;
  }
  char buffer[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      ADD_FAILURE() << "poll failed";
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
        if (i == 0 && out->size() >= out_limit) {  // the reader goes away, as `head` does
          close(fds[i].fd);
          fds[i].fd = -1;
          --open;
        }
      } else if (got == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

ToolRun Run(const std::vector<std::string>& words, const std::filesystem::path& working_folder,
            bool err_on_terminal, const char* out_to, const RunControl* control) {
  ToolRun run;
  int out_pipe[2];
  int err_pipe[2];  // [0] read end, [1] the tool's end
  if (pipe(out_pipe) != 0) {
    ADD_FAILURE() << "pipe failed";
    return run;
  }
  if (err_on_terminal) {
    winsize size{};
    size.ws_col = 100;
    size.ws_row = 24;
    if (openpty(&err_pipe[0], &err_pipe[1], nullptr, nullptr, &size) != 0) {
      ADD_FAILURE() << "openpty failed";
      return run;
    }
  } else if (pipe(err_pipe) != 0) {
    ADD_FAILURE() << "pipe failed";
    return run;
  }

  std::vector<std::string> argv_text{TAVRIN_CONVERT_PATH};
  argv_text.insert(argv_text.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (std::string& word : argv_text) argv.push_back(word.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int null_fd = open("/dev/null", O_RDONLY);
    dup2(null_fd, STDIN_FILENO);
    dup2(out_to != nullptr ? open(out_to, O_WRONLY) : out_pipe[1], STDOUT_FILENO);
    dup2(err_pipe[1], STDERR_FILENO);
    close(out_pipe[0]);
    close(err_pipe[0]);
    if (control != nullptr) {
      for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) signal(signal_number, SIG_DFL);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
    }
    if (!working_folder.empty() && chdir(working_folder.c_str()) != 0) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (child < 0) {
    ADD_FAILURE() << "fork failed";
    close(out_pipe[0]);
    close(err_pipe[0]);
    return run;
  }
  if (control != nullptr && control->meanwhile) control->meanwhile(child);
  Drain(out_pipe[0], err_pipe[0], &run.out, &run.err, control != nullptr ? control->out_limit : SIZE_MAX);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.peak_kib = usage.ru_maxrss;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  return run;
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& words, const std::filesystem::path& working_folder,
                bool err_on_terminal, const char* out_to) {
  return Run(words, working_folder, err_on_terminal, out_to, nullptr);
}

ToolRun RunToolControlled(const std::vector<std::string>& words, const std::filesystem::path& working_folder,
                          const RunControl& control) {
  return Run(words, working_folder, false, control.out_to, &control);
}

}  // namespace tavrin::testing
