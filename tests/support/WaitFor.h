#pragma once
// The one bounded wait of the test suites: for something another thread, process or the event
// loop brings about. Callers assert the result, with a message that says what did not arrive.
#include <chrono>
#include <thread>

#ifdef QT_CORE_LIB
#include <QCoreApplication>
#endif

namespace orv::test {

// Checks `done` until it holds or `timeout` has passed, running `between` after each check that
// failed. True when `done` held.
template <class Done, class Between>
bool waitFor(Done&& done, std::chrono::milliseconds timeout, Between&& between) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    between();
  }
  return true;
}

// The same, sleeping a millisecond between checks.
template <class Done>
bool waitFor(Done&& done, std::chrono::milliseconds timeout) {
  return waitFor(done, timeout, [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
}

#ifdef QT_CORE_LIB
// The same, serving this thread's event loop between checks.
template <class Done>
bool waitServingEvents(Done&& done, std::chrono::milliseconds timeout) {
  return waitFor(done, timeout, [] {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  });
}
#endif

}  // namespace orv::test
