#include "jack/SecondServer.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "jack/JackServer.h"

namespace orv::test {

using namespace std::chrono_literals;

SecondServer::SecondServer() : previous_(JackServer::shared().name()), name_(previous_ + "-b") {
  setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
}

SecondServer::~SecondServer() {
  stop();
  setenv("JACK_DEFAULT_SERVER", previous_.c_str(), 1);
}

bool SecondServer::start() {
  jackd_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"jackd", "-n", name_, "--no-realtime", "-d", "dummy", "-r", "48000",
                               "-p", "1024"},
      "/dev/null", SIGTERM);
  for (int i = 0; i < 200; ++i) {
    ChildProcess lsp({"jack_lsp", "-s", name_}, "/dev/null");
    if (lsp.exitStatus(5s) == 0) return true;
    std::this_thread::sleep_for(25ms);
  }
  return false;
}

void SecondServer::stop() {
  if (jackd_) jackd_->stop(SIGTERM, 10s);
  jackd_.reset();
}

}  // namespace orv::test
