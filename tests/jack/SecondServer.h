#pragma once
#include <memory>
#include <string>

#include "jack/ChildProcess.h"

namespace orv::test {

// A JACK server of its own for one test, under the test server's name with "-b" appended, that
// the test may stop and start again. While it exists, JACK_DEFAULT_SERVER names it, so clients
// this process and its children open go to it; the destructor stops it and names the test
// server again.
class SecondServer {
 public:
  SecondServer();
  ~SecondServer();
  SecondServer(const SecondServer&) = delete;
  SecondServer& operator=(const SecondServer&) = delete;

  // Starts the server; true once it answers.
  bool start();
  // Stops it in good order (a killed server would keep its entry in JACK's table of servers).
  void stop();
  const std::string& name() const { return name_; }

 private:
  std::string previous_;
  std::string name_;
  std::unique_ptr<ChildProcess> jackd_;
};

}  // namespace orv::test
