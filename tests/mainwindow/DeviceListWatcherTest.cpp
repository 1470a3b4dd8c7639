#include <gtest/gtest.h>

#include "mainwindow/DeviceListWatcher.h"

namespace orv {
namespace {

TEST(DeviceListWatcher, RunsTheCheckOnlyWhenTheListsChange) {
  DeviceListWatcher::Snapshot devices{"in:ORV10", "out:ORV10"};
  int checks = 0;
  DeviceListWatcher w([&] { return devices; }, [&] { ++checks; });
  w.start(60000);  // the first snapshot is taken at start, not reported
  EXPECT_FALSE(w.poll());
  EXPECT_EQ(checks, 0);

  devices = {"in:ORV10"};  // the output went away
  EXPECT_TRUE(w.poll());
  EXPECT_FALSE(w.poll());
  devices = {"in:ORV10", "out:ORV10"};
  EXPECT_TRUE(w.poll());
  devices = {"in:ORV5", "out:ORV5"};  // same count, other names
  EXPECT_TRUE(w.poll());
  EXPECT_EQ(checks, 3);
}

}  // namespace
}  // namespace orv
