#include "jack/AmpProcess.h"

namespace orv::test {

#ifndef ORV_AMPSIM
#define ORV_AMPSIM "orv-ampsim"
#endif

AmpProcess::AmpProcess(std::vector<std::string> args) {
  std::vector<std::string> argv = {ORV_AMPSIM, "--midi-api", "jack"};
  argv.insert(argv.end(), args.begin(), args.end());
  process_ = std::make_unique<ChildProcess>(argv);
  ready_ = process_->waitForLine([](const std::string& l) { return l.rfind("ready:", 0) == 0; },
                                 std::chrono::seconds(5)) >= 0;
}

AmpProcess::~AmpProcess() {
  process_->stop(SIGTERM, std::chrono::seconds(3));
}

std::string AmpProcess::output() {
  std::string all;
  for (const auto& l : process_->lines()) all += l + "\n";
  return all;
}

std::string AmpProcess::command(const std::string& line) {
  const int from = process_->lineCount();
  process_->writeLine(line);
  const int n = process_->waitForLine(
      [](const std::string& l) { return l.rfind("ok", 0) == 0 || l.rfind("error", 0) == 0; },
      std::chrono::seconds(5), from);
  return n < 0 ? std::string() : process_->line(n);
}

int AmpProcess::waitForReceived(const std::string& text, int from,
                                std::chrono::milliseconds timeout) {
  return process_->waitForLine(
      [&](const std::string& l) { return l.rfind("rx ", 0) == 0 && l.find(text) != l.npos; },
      timeout, from);
}

}  // namespace orv::test
