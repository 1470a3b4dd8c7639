#pragma once
// Permission checks as an ordinary user sees them, also when the tests run as the superuser (who
// passes every permission check): the check runs in a child process that first takes the ids of
// the user "nobody".
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace orv::test {

constexpr uid_t kNobody = 65534;

inline bool runningAsSuperuser() {
  return geteuid() == 0;
}

// The user the child runs as: nobody for the superuser, else the user running the tests.
inline uid_t testUser() {
  return runningAsSuperuser() ? kNobody : geteuid();
}

// Hands `path` to the user the child runs as.
inline void giveToTestUser(const std::filesystem::path& path) {
  if (runningAsSuperuser()) (void)!chown(path.c_str(), kNobody, kNobody);
}

// Runs `check` in a child process as an ordinary user; true when it returned true. Whatever
// happens in the child ends there: an exception or a refused change of user is a failed check,
// never a second copy of the test suite running on.
inline bool asOrdinaryUser(const std::function<bool()>& check) {
  const pid_t pid = fork();
  if (pid == 0) {
    int result = 1;
    try {
      if (runningAsSuperuser() &&
          (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
        result = 3;
      else
        result = check() ? 0 : 1;
    } catch (...) {
      result = 2;
    }
    _exit(result);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orv::test
