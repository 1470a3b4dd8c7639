#include "jack/JackServer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace orv::test {

namespace {

std::string tail(const std::string& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  auto s = text.str();
  return s.size() > 800 ? s.substr(s.size() - 800) : s;
}

}  // namespace

JackServer& JackServer::shared() {
  static JackServer server;
  return server;
}

JackServer::JackServer() {
  for (int slot = 0; slot < 8 && name_.empty(); ++slot) {
    const std::string lock = "/tmp/orv-jack-test-" + std::to_string(slot) + ".lock";
    const int fd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      slotLock_ = fd;
      name_ = "orv-test-" + std::to_string(slot);
    } else {
      close(fd);
    }
  }
  if (name_.empty()) {
    error_ = "all 8 JACK test server names are in use (/tmp/orv-jack-test-*.lock)";
    return;
  }
  log_ = "/tmp/" + name_ + ".log";
  setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
  if (ChildProcess::findProgram("jackd").empty()) {
    error_ =
        "jackd not found: the JACK end-to-end tests need it (run scripts/setup, which "
        "installs jackd2)";
    return;
  }
  if (ChildProcess::findProgram("jack_lsp").empty()) {
    error_ = "jack_lsp not found (run scripts/setup, which installs jackd2)";
    return;
  }
  jackd_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"jackd", "-n", name_, "--no-realtime", "-d", "dummy", "-r", "48000",
                               "-p", "1024"},
      log_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!answers()) {
    if (!jackd_->running()) {
      error_ = "jackd ended at start-up; its output:\n" + tail(log_);
      return;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      error_ = "jackd did not answer within 10 s; its output:\n" + tail(log_);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

JackServer::~JackServer() {
  if (jackd_) jackd_->stop(SIGTERM, std::chrono::seconds(10));
  if (slotLock_ >= 0) close(slotLock_);
  if (ok() && !getenv("ORV_KEEP_JACK_LOG")) unlink(log_.c_str());
}

bool JackServer::answers() const {
  ChildProcess lsp({"jack_lsp"}, "/dev/null");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  ChildProcess& p = lsp;
  while (p.running()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const int status = p.stop();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orv::test
