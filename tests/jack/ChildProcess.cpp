#include "jack/ChildProcess.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace orv::test {

std::string ChildProcess::findProgram(const std::string& program) {
  if (program.find('/') != std::string::npos)
    return access(program.c_str(), X_OK) == 0 ? program : std::string();
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const auto end = dirs.find(':', start);
    const auto dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const auto candidate = (dir.empty() ? "." : dir) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return {};
}

ChildProcess::ChildProcess(std::vector<std::string> argv, std::string logFile, int deathSignal,
                           bool withStderr) {
  std::signal(SIGPIPE, SIG_IGN);  // a child that died must not take the test with it
  const std::string program = findProgram(argv.at(0));
  if (program.empty()) throw std::runtime_error(argv[0] + ": program not found");
  int in[2], out[2] = {-1, -1};
  if (pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  if (logFile.empty() && pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const int log =
      logFile.empty() ? -1 : open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // Only async-signal-safe calls until exec.
    prctl(PR_SET_PDEATHSIG, deathSignal);
    if (getppid() != parent) _exit(127);
    dup2(in[0], 0);
    const int sink = log >= 0 ? log : out[1];
    if (sink >= 0) {
      dup2(sink, 1);
      if (log >= 0 || withStderr) dup2(sink, 2);
    }
    execv(program.c_str(), args.data());
    _exit(127);
  }
  close(in[0]);
  stdin_ = in[1];
  if (log >= 0) close(log);
  if (out[0] >= 0) {
    close(out[1]);
    stdout_ = out[0];
    reader_ = std::thread([this] { readOutput(); });
  }
}

ChildProcess::~ChildProcess() {
  stop(SIGKILL, std::chrono::seconds(5));
  if (stdin_ >= 0) close(stdin_);
  if (reader_.joinable()) reader_.join();
  if (stdout_ >= 0) close(stdout_);
}

bool ChildProcess::running() {
  if (pid_ <= 0) return false;
  int status = 0;
  const pid_t r = waitpid(pid_, &status, WNOHANG);
  if (r == 0) return true;
  if (r == pid_) {
    status_ = status;
    pid_ = -1;
  }
  return false;
}

int ChildProcess::stop(int signal, std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return status_;
  kill(pid_, signal);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (running()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      int status = 0;
      waitpid(pid_, &status, 0);
      status_ = status;
      pid_ = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return status_;
}

void ChildProcess::writeLine(const std::string& line) {
  const std::string text = line + "\n";
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(stdin_, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += std::size_t(n);
  }
}

void ChildProcess::closeInput() {
  if (stdin_ >= 0) close(stdin_);
  stdin_ = -1;
}

int ChildProcess::exitStatus(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (running()) {
    stop(SIGKILL);
    return -1;
  }
  if (reader_.joinable()) reader_.join();  // every line of output is in
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

void ChildProcess::readOutput() {
  std::string partial;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(stdout_, buffer, sizeof buffer);
    if (n <= 0) break;
    std::lock_guard lock(mutex_);
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n') {
        lines_.push_back(partial);
        partial.clear();
      } else {
        partial += buffer[i];
      }
    }
    changed_.notify_all();
  }
  std::lock_guard lock(mutex_);
  if (!partial.empty()) lines_.push_back(partial);
  ended_ = true;
  changed_.notify_all();
}

int ChildProcess::waitForLine(const std::function<bool(const std::string&)>& match,
                              std::chrono::milliseconds timeout, int from) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(mutex_);
  for (int next = from;;) {
    for (; next < int(lines_.size()); ++next)
      if (match(lines_[next])) return next;
    if (ended_) return -1;
    if (changed_.wait_until(lock, deadline) == std::cv_status::timeout &&
        next == int(lines_.size()))
      return -1;
  }
}

int ChildProcess::waitForLineContaining(const std::string& text, std::chrono::milliseconds timeout,
                                        int from) {
  return waitForLine([&](const std::string& l) { return l.find(text) != std::string::npos; },
                     timeout, from);
}

int ChildProcess::lineCount() {
  std::lock_guard lock(mutex_);
  return int(lines_.size());
}

std::string ChildProcess::line(int number) {
  std::lock_guard lock(mutex_);
  return number >= 0 && number < int(lines_.size()) ? lines_[number] : std::string();
}

std::vector<std::string> ChildProcess::lines() {
  std::lock_guard lock(mutex_);
  return lines_;
}

}  // namespace orv::test
