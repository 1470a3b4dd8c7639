#pragma once
#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv::test {

// A program started by a test: its standard input is a pipe, its standard output is read line by
// line on a thread of its own (or goes to a log file). It dies with the test process, and the
// destructor stops it.
class ChildProcess {
 public:
  // argv[0] is searched in PATH when it has no slash. With an empty `logFile` the output is read
  // through a pipe (stderr too with `withStderr`); otherwise stdout and stderr go to that file.
  // `deathSignal` reaches the child when the test process dies.
  explicit ChildProcess(std::vector<std::string> argv, std::string logFile = {},
                        int deathSignal = SIGKILL, bool withStderr = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  // Sends a signal and waits up to `timeout` for the end; SIGKILL after that. Returns the wait
  // status, or -1 when the process had already been reaped.
  int stop(int signal = SIGTERM, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  void writeLine(const std::string& line);
  void closeInput();
  // Waits for the end; returns the exit status, or -1 when it did not end in time (it is then
  // killed) or ended by a signal.
  int exitStatus(std::chrono::milliseconds timeout);

  // Output lines are kept, numbered from 0. Waits for the first line at or after `from` for
  // which `match` holds; returns its number, or -1 when the time is up or the output ended.
  int waitForLine(const std::function<bool(const std::string&)>& match,
                  std::chrono::milliseconds timeout, int from = 0);
  int waitForLineContaining(const std::string& text, std::chrono::milliseconds timeout,
                            int from = 0);
  int lineCount();
  std::string line(int number);
  std::vector<std::string> lines();

  // The full path of `program` in PATH, or empty.
  static std::string findProgram(const std::string& program);

 private:
  void readOutput();

  pid_t pid_ = -1;
  int status_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  bool ended_ = false;
};

}  // namespace orv::test
