#pragma once

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace pellmar::test_support {

// Runs `work` in a child process that, when this one is root, has given up root for the user
// nobody first: root writes anywhere, and tests of folders that cannot be written need a user
// whom permissions stop. The child's exit status, or -1 when it did not exit.
inline int runUnprivileged(const std::function<int()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(99);
    _exit(work());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace pellmar::test_support
#endif
