#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace orv::test {

// Gathers messages handed over on another thread, with the thread each arrived on.
class Collector {
 public:
  using Bytes = std::vector<uint8_t>;

  void add(const uint8_t* bytes, std::size_t length) {
    std::lock_guard lock(mutex_);
    messages_.emplace_back(bytes, bytes + length);
    threads_.push_back(std::this_thread::get_id());
    changed_.notify_all();
  }
  auto receiver() {
    return [this](const uint8_t* b, std::size_t n) { add(b, n); };
  }
  // Waits until at least `count` messages are in; returns them all.
  std::vector<Bytes> waitFor(std::size_t count,
                             std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
    return messages_;
  }
  std::vector<Bytes> messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<std::thread::id> threads() {
    std::lock_guard lock(mutex_);
    return threads_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    threads_.clear();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Bytes> messages_;
  std::vector<std::thread::id> threads_;
};

}  // namespace orv::test
