// orv-ampsim: an ORV amplifier simulator on the computer's MIDI service (see AmpSimProgram).
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tools/ampsim/AmpSimProgram.h"

namespace {

std::atomic<bool> stopRequested{false};

void onSignal(int) {
  stopRequested = true;
}

// Reads one line from standard input, waking up every 100 ms to look for a stop request.
// False at end of input or when asked to stop.
bool readLine(std::string& line) {
  line.clear();
  while (!stopRequested) {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&p, 1, 100);
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    char c;
    const ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n <= 0) return !line.empty();
    if (c == '\n') return true;
    line += c;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  bool help = false, version = false;
  const auto options = orv::AmpSimProgram::parseArguments(args, error, help, &version);
  if (version) {
    std::cout << orv::AmpSimProgram::versionLine();
    return 0;
  }
  if (help) {
    std::cout << orv::AmpSimProgram::usage();
    return 0;
  }
  if (!options) {
    std::cerr << "orv-ampsim: " << error << "\nRun 'orv-ampsim --help' for the options.\n";
    return 2;
  }
  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::signal(SIGPIPE, SIG_IGN);
  orv::AmpSimProgram program(*options, std::cout);
  if (!program.start(error)) {
    std::cerr << "orv-ampsim: " << error << "\n";
    return 1;
  }
  for (std::string line; readLine(line);)
    if (!program.command(line)) break;
  return 0;
}
