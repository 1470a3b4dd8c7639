#pragma once
#include <cstdint>
#include <exception>
#include <string>

namespace orv {

// The program's one exception type. `code` is the number of the string-table text shown for it,
// `value` an error number or detail, `message` free text (a file path for file failures).
class CGenericException : public std::exception {
 public:
  CGenericException(int32_t code, int32_t value = 0, std::string message = {})
      : code_(code), value_(value), message_(std::move(message)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  int32_t code() const noexcept { return code_; }
  int32_t value() const noexcept { return value_; }
  const std::string& message() const noexcept { return message_; }

 private:
  int32_t code_;
  int32_t value_;
  std::string message_;
};

}  // namespace orv
