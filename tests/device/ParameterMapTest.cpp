#include <gtest/gtest.h>

#include <functional>

#include "device/ParameterMap.h"
#include "patch/GenericException.h"
#include "support/FailureOf.h"

using namespace orv;

using orv::test::codeOf;

TEST(ParameterMap, EveryIdentifierRoundTripsUnderSomeType) {
  for (int id = params::kFirstId; id <= params::kLastId; ++id) {
    const int offset = params::offsetOf(id);
    bool found = false;
    for (uint8_t type = 0; type < 4; ++type) {
      try {
        found = found || params::identifierOf(offset, type) == id;
      } catch (const CGenericException&) {
      }
    }
    EXPECT_TRUE(found) << id;
  }
}

TEST(ParameterMap, TypeDecidesTheIdentifier) {
  EXPECT_EQ(params::identifierOf(194, 3), 1050);
  EXPECT_EQ(codeOf([] { params::identifierOf(194, 0); }), 203);
  EXPECT_EQ(params::identifierOf(145, 0), 1009);
  EXPECT_EQ(params::identifierOf(145, 1), 1011);
  EXPECT_EQ(params::identifierOf(161, 2), 1031);
  EXPECT_EQ(params::identifierOf(161, 3), 1027);
  EXPECT_EQ(codeOf([] { params::identifierOf(165, 0); }), 203);  // Chorus has no Spread
}

TEST(ParameterMap, NamesSecondBytesAndOutsideAreInvalid) {
  for (int offset : {0, 63, 64, 135, 146 /* second byte under Rack */, 256})
    EXPECT_EQ(codeOf([&] { params::identifierOf(offset, 1); }), 203) << offset;
  EXPECT_EQ(codeOf([] { params::offsetOf(1000); }), 203);
  EXPECT_EQ(codeOf([] { params::offsetOf(1056); }), 203);
}

TEST(ParameterMap, TwoByteSetAndBlocks) {
  int count = 0;
  for (int id = params::kFirstId; id <= params::kLastId; ++id) count += params::isTwoByte(id);
  EXPECT_EQ(count, 9);
  EXPECT_TRUE(params::isTwoByte(1035));
  EXPECT_FALSE(params::isTwoByte(1036));
  EXPECT_EQ(params::blockOf(143), 128);
  EXPECT_EQ(params::blockOf(194), 192);
  EXPECT_EQ(params::blockOf(223), 208);
}
