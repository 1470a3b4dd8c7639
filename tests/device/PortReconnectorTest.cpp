#include <gtest/gtest.h>

#include "LinkFixture.h"
#include "device/PortReconnector.h"

namespace orv::testing {
namespace {

class PortReconnectorTest : public LinkTest {
 protected:
  void SetUp() override {
    LinkTest::SetUp();
    reconnector = std::make_unique<PortReconnector>(*link);
    reconnector->setPortNames("ORV10", "ORV10");
  }
  void TearDown() override {
    reconnector.reset();
    LinkTest::TearDown();
  }
  void plugInOnly() {
    amp = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service));
    amp->setSilent(true);
    ASSERT_EQ(amp->start(), 0);
  }
  std::unique_ptr<PortReconnector> reconnector;
};

TEST_F(PortReconnectorTest, EventThreeOpensTheConfiguredPortsOnceTheDeviceIsThere) {
  reconnector->onDeviceEvent(EVENT_NOT_CONNECTED);  // nothing plugged in: no error, no ports
  EXPECT_FALSE(reconnector->portsOpen());
  EXPECT_FALSE(link->port().isInputOpen());

  plugInOnly();
  reconnector->onDeviceEvent(EVENT_NOT_CONNECTED);
  EXPECT_TRUE(reconnector->portsOpen());
  EXPECT_TRUE(link->port().isInputRunning());
  EXPECT_TRUE(link->port().isOutputOpen());
  // While the flag is set further ticks leave the ports alone.
  reconnector->onDeviceEvent(EVENT_NOT_CONNECTED);
  EXPECT_EQ(reconnector->opened(), 1);
  EXPECT_TRUE(contains(identity(), EVENT_CONNECTED));
}

TEST_F(PortReconnectorTest, AfterEventTwoTheReturningDeviceIsOpenedAgainByName) {
  plugInOnly();
  reconnector->onDeviceEvent(EVENT_NOT_CONNECTED);
  connect();
  amp->vanish();
  settle();
  link->checkPorts();
  for (const auto& e : events.take()) reconnector->onDeviceEvent(e.code);
  EXPECT_FALSE(reconnector->portsOpen());
  EXPECT_FALSE(link->isConnected());

  reconnector->onDeviceEvent(EVENT_NOT_CONNECTED);  // still away: nothing opened, no error
  EXPECT_EQ(reconnector->opened(), 1);
  ASSERT_EQ(amp->comeBack(), 0);
  reconnector->onDeviceEvent(EVENT_NOT_CONNECTED);
  EXPECT_EQ(reconnector->opened(), 2);
  const auto e = identity();
  EXPECT_TRUE(contains(e, EVENT_CONNECTED));
  settle();
  EXPECT_EQ(dumpRequests(), 1u);
}

TEST_F(PortReconnectorTest, AnIdentityDuringTheOpeningStillGetsItsDump) {
  plugInOnly();
  ASSERT_TRUE(reconnector->openConfigured());
  connect();  // the link is connected now, as if the Identity had come while opening
  ASSERT_TRUE(reconnector->openConfigured());
  settle();
  EXPECT_EQ(dumpRequests(), 1u);  // asked again: the first request may have had no output
}

TEST_F(PortReconnectorTest, MissingOrEmptyNamesOpenNothingAndCloseNothing) {
  plugInOnly();
  reconnector->setPortNames("ORV10", "ORV5");
  EXPECT_FALSE(reconnector->openConfigured());
  EXPECT_FALSE(link->port().isInputOpen());
  reconnector->setPortNames("", "");
  EXPECT_FALSE(reconnector->openConfigured());
  reconnector->setPortNames("ORV10", "ORV10");
  ASSERT_TRUE(reconnector->openConfigured());
  reconnector->setPortNames("ORV10", "nothing");
  EXPECT_FALSE(reconnector->openConfigured());
  EXPECT_TRUE(link->port().isInputRunning());  // the open ports stay as they were
}

}  // namespace
}  // namespace orv::testing
