#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "device/SysexCodec.h"

namespace orv::testing {

// Collects the diagnostic lines written while it lives; restores standard error afterwards.
class DiagnosticCapture {
 public:
  DiagnosticCapture() {
    sysex::setDiagnosticSink([this](std::string_view line) {
      std::lock_guard lock(mutex_);
      lines_.emplace_back(line);
    });
  }
  ~DiagnosticCapture() { sysex::setDiagnosticSink({}); }

  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace orv::testing
