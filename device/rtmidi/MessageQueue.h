#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orv::rtmidi {

// A queue of whole messages from one writer to one reader that never blocks either side: the
// sending threads (one at a time, under the caller's lock) and JACK's process thread. Each
// message is stored as its length and its bytes in a ring of `capacity` bytes (a power of two).
// The positions are atomics, so the hand-over is visible to the thread sanitizer as well.
class MessageQueue {
 public:
  explicit MessageQueue(std::size_t capacity) : ring_(capacity), mask_(capacity - 1) {}

  // False when the message does not fit now.
  bool push(const uint8_t* bytes, std::size_t length) {
    const uint32_t n = uint32_t(length);
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    if (ring_.size() - (head - tail) < sizeof n + length) return false;
    copyIn(head, reinterpret_cast<const uint8_t*>(&n), sizeof n);
    copyIn(head + sizeof n, bytes, length);
    head_.store(head + sizeof n + length, std::memory_order_release);
    return true;
  }

  // The length of the next message, or 0 when the queue is empty.
  std::size_t peekLength() const {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (head_.load(std::memory_order_acquire) == tail) return 0;
    uint32_t n = 0;
    copyOut(tail, reinterpret_cast<uint8_t*>(&n), sizeof n);
    return n;
  }

  // Moves the next message (of peekLength() bytes) to `out`.
  void pop(uint8_t* out) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    uint32_t n = 0;
    copyOut(tail, reinterpret_cast<uint8_t*>(&n), sizeof n);
    copyOut(tail + sizeof n, out, n);
    tail_.store(tail + sizeof n + n, std::memory_order_release);
  }

  // Drops the next message unread.
  void skip() {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    uint32_t n = 0;
    copyOut(tail, reinterpret_cast<uint8_t*>(&n), sizeof n);
    tail_.store(tail + sizeof n + n, std::memory_order_release);
  }

 private:
  void copyIn(std::size_t at, const uint8_t* from, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) ring_[(at + i) & mask_] = from[i];
  }
  void copyOut(std::size_t at, uint8_t* to, std::size_t n) const {
    for (std::size_t i = 0; i < n; ++i) to[i] = ring_[(at + i) & mask_];
  }

  std::vector<uint8_t> ring_;
  const std::size_t mask_;
  std::atomic<std::size_t> head_{0};  // bytes written so far
  std::atomic<std::size_t> tail_{0};  // bytes read so far
};

}  // namespace orv::rtmidi
