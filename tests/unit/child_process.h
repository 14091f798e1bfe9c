#pragma once
// Runs a piece of a test in a forked child process, for what the test process
// itself must not suffer: a call that may never return (it is killed at a
// deadline), or a resource limit that would hit the test runner as well.
// POSIX only.
#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

namespace vantor::test {

struct ChildOutcome {
  bool finished = false;  // false: still running at the deadline, and killed
  std::string output;     // what the body returned, when it finished
};

// The body runs in the child; the text it returns comes back through a pipe.
// The body must not use gtest assertions: the parent checks what it returns.
inline ChildOutcome runInChild(const std::function<std::string()>& body,
                               std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
  ChildOutcome outcome;
  int fds[2];
  if (::pipe(fds) != 0) return outcome;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return outcome;
  }
  if (pid == 0) {
    ::close(fds[0]);
    const std::string text = body();
    for (size_t at = 0; at < text.size();) {
      const ssize_t n = ::write(fds[1], text.data() + at, text.size() - at);
      if (n <= 0) ::_exit(2);
      at += static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  const auto end = std::chrono::steady_clock::now() + deadline;
  bool eof = false;
  while (!eof) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fds[0], POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n > 0)
      outcome.output.append(buffer, static_cast<size_t>(n));
    else
      eof = true;
  }
  ::close(fds[0]);
  if (!eof) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  outcome.finished = eof && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return outcome;
}

}  // namespace vantor::test
#endif
