#pragma once
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace orv::testing {

// Collects messages handed to it from any thread.
class Recorder {
 public:
  using Bytes = std::vector<uint8_t>;

  void operator()(const uint8_t* bytes, std::size_t length) {
    std::lock_guard lock(mutex_);
    messages_.emplace_back(bytes, bytes + length);
    threads_.push_back(std::this_thread::get_id());
  }
  auto receiver() {
    return [this](const uint8_t* b, std::size_t n) { (*this)(b, n); };
  }
  std::vector<Bytes> messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<std::thread::id> threads() const {
    std::lock_guard lock(mutex_);
    return threads_;
  }
  std::size_t size() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
  }
  void clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    threads_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Bytes> messages_;
  std::vector<std::thread::id> threads_;
};

}  // namespace orv::testing
