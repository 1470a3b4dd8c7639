#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "DiagnosticCapture.h"
#include "device/DeviceWatcher.h"
#include "support/WaitFor.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// A device list the test changes while the watcher looks at it.
struct Devices {
  std::mutex mutex;
  std::vector<std::string> list{"in ORV10:out", "out ORV10:in"};
  std::atomic<int> looks{0};
  std::vector<std::string> snapshot() {
    ++looks;
    std::lock_guard lock(mutex);
    return list;
  }
  void set(std::vector<std::string> l) {
    std::lock_guard lock(mutex);
    list = std::move(l);
  }
};

template <class F>
bool eventually(F done) {
  return test::waitFor(done, 2s);
}

TEST(DeviceWatcher, ReportsEachChangeOnceAndNotTheFirstLook) {
  Devices devices;
  std::atomic<int> changed{0};
  DeviceWatcher watcher([&] { return devices.snapshot(); }, [&] { ++changed; }, 5ms);
  ASSERT_TRUE(eventually([&] { return devices.looks >= 5; }));
  EXPECT_EQ(changed, 0);
  devices.set({"out ORV10:in"});  // unplugged (the input side first)
  ASSERT_TRUE(eventually([&] { return changed == 1; }));
  devices.set({});
  ASSERT_TRUE(eventually([&] { return changed == 2; }));
  const int looks = devices.looks;
  ASSERT_TRUE(eventually([&] { return devices.looks >= looks + 5; }));
  EXPECT_EQ(changed, 2);                          // the same list again is no change
  devices.set({"in ORV10:out", "out ORV10:in"});  // plugged in again
  ASSERT_TRUE(eventually([&] { return changed == 3; }));
  EXPECT_EQ(watcher.changes(), 3);
}

TEST(DeviceWatcher, AFailingLookIsReportedAndWatchingGoesOn) {
  testing::DiagnosticCapture diagnostics;
  std::atomic<int> looks{0};
  {
    DeviceWatcher watcher(
        [&]() -> std::vector<std::string> {
          if (++looks % 2 == 0) throw std::runtime_error("service busy");
          return {"x"};
        },
        [] {}, 5ms);
    ASSERT_TRUE(eventually([&] { return looks >= 6; }));
  }
  EXPECT_GE(diagnostics.lines().size(), 3u);
  EXPECT_EQ(diagnostics.lines().front(), "Exception caught!");
}

TEST(DeviceWatcher, StopsAtOnceEvenWithALongPeriod) {
  const auto t0 = std::chrono::steady_clock::now();
  {
    DeviceWatcher watcher([] { return std::vector<std::string>{}; }, [] {}, 10s);
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 1s);
}

}  // namespace
}  // namespace orv
