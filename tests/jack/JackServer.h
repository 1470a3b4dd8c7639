#pragma once
#include <memory>
#include <string>

#include "jack/ChildProcess.h"

namespace orv::test {

// The JACK server of this test process: `jackd --no-realtime -d dummy -r 48000 -p 1024`, under a
// server name of its own (JACK_DEFAULT_SERVER is set for this process and its children), so
// suites running in parallel never share one. Started on first use, ready once `jack_lsp`
// answers, stopped by its PID when the process ends (and sent SIGTERM should the test die).
// The period is 1024 frames (21 ms) rather than 64: JACK drops a cycle's MIDI for a client that
// was not scheduled in time, and on a busy machine 1.3 ms is too short for that not to happen.
// (Its synchronous mode would wait instead, but stalls for seconds when a client is killed.)
// The benchmark measures at 64 frames.
//
// The names come from a small fixed set, "orv-test-0" .. "orv-test-7", each held with a lock
// file while in use: JACK keeps a machine-wide table of at most 8 servers and frees the entry of
// a server that died without cleaning up only when a server of the same name starts again.
class JackServer {
 public:
  static JackServer& shared();

  bool ok() const { return error_.empty(); }
  // Why the server is not running, with what to do about it.
  const std::string& error() const { return error_; }
  const std::string& name() const { return name_; }

  ~JackServer();

 private:
  JackServer();
  bool answers() const;

  std::string name_;
  std::string log_;
  std::string error_;
  int slotLock_ = -1;
  std::unique_ptr<ChildProcess> jackd_;
};

}  // namespace orv::test

// Fails the current test with a clear message when no server could be started.
#define ORV_REQUIRE_JACK()                             \
  do {                                                 \
    auto& server_ = ::orv::test::JackServer::shared(); \
    ASSERT_TRUE(server_.ok()) << server_.error();      \
  } while (false)
