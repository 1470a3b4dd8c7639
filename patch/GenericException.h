#pragma once
#include <cstdint>
#include <exception>
#include <string>
#include <system_error>
#include <utility>

namespace orv {

// The program's one exception type. `code` is the number of the string-table text shown for it,
// `value` an error number or detail, `message` free text (a file path for file failures) and
// `reason` the system's reason for a failure, when there is one (a file that cannot be opened).
class CGenericException : public std::exception {
 public:
  CGenericException(int32_t code, int32_t value = 0, std::string message = {},
                    std::error_code reason = {})
      : code_(code), value_(value), message_(std::move(message)), reason_(reason) {}

  const char* what() const noexcept override { return message_.c_str(); }
  int32_t code() const noexcept { return code_; }
  int32_t value() const noexcept { return value_; }
  const std::string& message() const noexcept { return message_; }
  const std::error_code& reason() const noexcept { return reason_; }
  // The message followed by the system's reason: "PATH: No such file or directory", or either
  // alone when the other is missing; empty when there is neither.
  std::string detail() const {
    std::string text = message_;
    if (!reason_) return text;
    return text.empty() ? reason_.message() : text + ": " + reason_.message();
  }

 private:
  int32_t code_;
  int32_t value_;
  std::string message_;
  std::error_code reason_;
};

}  // namespace orv
