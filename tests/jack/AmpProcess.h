#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "jack/ChildProcess.h"

namespace orv::test {

// orv-ampsim started by a test on the test's JACK server.
class AmpProcess {
 public:
  // Starts `orv-ampsim --midi-api jack` with `args`; ready() tells whether it came up.
  explicit AmpProcess(std::vector<std::string> args = {});
  // Asks it to end (SIGTERM), so that it leaves the JACK server in good order: a client that
  // was killed keeps the server busy for seconds when it is stopped right after.
  ~AmpProcess();

  bool ready() const { return ready_; }
  // Its output so far (for failure messages).
  std::string output();
  // Sends a command line and returns its answer ("ok ..." or "error: ..."), "" on time-out.
  std::string command(const std::string& line);
  // Waits for a line about a received message containing `text`, at or after line `from`;
  // returns its number or -1.
  int waitForReceived(const std::string& text, int from = 0,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5));
  int lineCount() { return process_->lineCount(); }
  ChildProcess& process() { return *process_; }

 private:
  std::unique_ptr<ChildProcess> process_;
  bool ready_ = false;
};

}  // namespace orv::test
