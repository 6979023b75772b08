#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

// Runs work in a forked child and returns the text it produced, passed back through a
// pipe; nothing when the child did not finish normally. The child never returns into
// the test framework: it ends with _exit.
inline std::optional<std::string> inChild(const std::function<std::string()>& work) {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    ::close(fds[0]);
    std::string text = work();
    std::size_t done = 0;
    while (done < text.size()) {
      ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string text;
  char buffer[256];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

// For a child of a test run as root: drops every right and becomes the user nobody.
inline bool becomeNobody() {
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) return false;
  return ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
         ::setuid(nobody->pw_uid) == 0;
}

// The id of a process that has ended, for a lock file whose holder is gone.
inline pid_t endedProcessId() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  if (pid > 0) ::waitpid(pid, &status, 0);
  return pid;
}
