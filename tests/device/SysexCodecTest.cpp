#include <gtest/gtest.h>

#include <numeric>

#include "DiagnosticCapture.h"
#include "device/SysexCodec.h"
#include "support/FailureOf.h"

using namespace orv;
using orv::sysex::Bytes;
using orv::testing::DiagnosticCapture;

namespace {

Bytes dumpOf(const PatchData& p) {
  return sysex::encodeBulkDump(p);
}

sysex::Message classify(const Bytes& b) {
  return sysex::classify(b.data(), b.size());
}

template <class T>
bool is(const sysex::Message& m) {
  return std::holds_alternative<T>(m);
}

Bytes parameterChange(uint8_t cls, uint8_t ah, uint8_t al, uint8_t d1, uint8_t d2) {
  return {0xF0, 0x43, 0x7D, cls, 0x41, 0x30, ah, al, d1, d2, 0xF7};
}

}  // namespace

TEST(SysexEncode, MessagesHaveTheirExactBytes) {
  EXPECT_EQ(sysex::encodeParameterChange(177, 2, 44),
            (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x01, 0x31, 0x02, 0x2C, 0xF7}));
  EXPECT_EQ(sysex::encodeParameterChange(4, 0, 'z'),
            (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x00, 0x04, 0x00, 0x7A, 0xF7}));
  EXPECT_EQ(sysex::encodeSettingChange(sysex::UsbVolume, 4),
            (Bytes{0xF0, 0x43, 0x7D, 0x30, 0x41, 0x30, 0x02, 0x04, 0xF7}));
  EXPECT_EQ(sysex::encodeDumpRequest(),
            (Bytes{0xF0, 0x43, 0x7D, 0x20, 0x56, 0x4B, 0x52, 0x31, 0x41, 0x6C, 0x6C, 0x50, 0xF7}));
  EXPECT_EQ(sysex::encodeSettingsRequest(),
            (Bytes{0xF0, 0x43, 0x7D, 0x20, 0x56, 0x4B, 0x52, 0x31, 0x50, 0x52, 0x45, 0x46, 0xF7}));
}

TEST(SysexEncode, NoByteAbove7FEntersABody) {
  const Bytes pc = sysex::encodeParameterChange(255, 0xC1, 0xE9);
  EXPECT_EQ(pc[6], 0x01);
  EXPECT_EQ(pc[7], 0x7F);
  EXPECT_EQ(pc[8], 0x41);
  EXPECT_EQ(pc[9], 0x69);
  const Bytes sc = sysex::encodeSettingChange(0x82, 0x81);
  EXPECT_EQ(sc[6], 0x02);
  EXPECT_EQ(sc[7], 0x01);

  PatchData p;
  p[0] = 0xE9;  // a Latin-1 name character
  p[200] = 0xFF;
  const Bytes dump = dumpOf(p);
  for (std::size_t i = 1; i + 1 < dump.size(); ++i) EXPECT_LT(dump[i], 0x80) << "byte " << i;
  EXPECT_EQ(dump[18], 0x69);
  EXPECT_EQ(dump[218], 0x7F);
  // The checksum covers what was sent, so the amplifier accepts it.
  const unsigned sum = std::accumulate(dump.begin() + 6, dump.begin() + 275, 0u);
  EXPECT_EQ(sum % 128, 0u);
  ASSERT_TRUE(is<sysex::BulkDump>(classify(dump)));
}

TEST(SysexEncode, ParameterChangeRefusesOffsetsOutsideThePatch) {
  for (int offset : {-1, 256, 1000})
    EXPECT_EQ(orv::test::codeOf([&] { sysex::encodeParameterChange(offset, 0, 0); }), 203)
        << offset;
}

TEST(SysexBulkDump, LayoutAndChecksum) {
  const Bytes dump = dumpOf(PatchData{});
  ASSERT_EQ(dump.size(), 276u);
  EXPECT_EQ(Bytes(dump.begin(), dump.begin() + 18),
            (Bytes{0xF0, 0x43, 0x7D, 0x00, 0x02, 0x0C, 0x56, 0x4B, 0x52, 0x31, 0x41, 0x6C, 0x6C,
                   0x50, 0x00, 0x00, 0x7F, 0x7F}));
  EXPECT_EQ(dump[274], 0x75);  // all-zero patch
  EXPECT_EQ(dump[275], 0xF7);
  EXPECT_EQ(sysex::checksum(dump.data()), 0x75);

  PatchData p;
  initPatch(std::nullopt, p);
  const Bytes init = dumpOf(p);
  const auto decoded = classify(init);
  ASSERT_TRUE(is<sysex::BulkDump>(decoded));
  EXPECT_EQ(std::get<sysex::BulkDump>(decoded).data, p);
}

TEST(SysexClassify, BulkDumpEdgeCases) {
  DiagnosticCapture diagnostics;
  PatchData p;
  p[130] = 55;
  Bytes dump = dumpOf(p);

  Bytes plus80 = dump;
  plus80[274] |= 0x80;  // only the low 7 bits count
  EXPECT_TRUE(is<sysex::BulkDump>(classify(plus80)));

  Bytes noEnd = dump;
  noEnd[275] = 0x00;  // the end byte is not examined
  EXPECT_TRUE(is<sysex::BulkDump>(classify(noEnd)));

  Bytes longer = dump;
  longer.push_back(0xF7);
  EXPECT_TRUE(is<sysex::BulkDump>(classify(longer)));

  const Bytes shortDump(dump.begin(), dump.begin() + 275);
  EXPECT_TRUE(is<sysex::Rejected>(classify(shortDump)));

  Bytes badTag = dump;
  badTag[9] = '2';
  EXPECT_TRUE(is<sysex::Rejected>(classify(badTag)));
  EXPECT_TRUE(diagnostics.lines().empty());

  Bytes badSum = dump;
  badSum[274] ^= 0x01;
  const auto m = classify(badSum);
  ASSERT_TRUE(is<sysex::Rejected>(m));
  EXPECT_EQ(std::get<sysex::Rejected>(m).diagnostic, "Check sum error.");
  EXPECT_EQ(diagnostics.lines(), std::vector<std::string>{"Check sum error."});
}

TEST(SysexClassify, ParameterChangeEdgeCases) {
  DiagnosticCapture diagnostics;
  const Bytes eleven = parameterChange(0x10, 0x01, 0x03, 0x00, 0x2A);
  const Bytes ten(eleven.begin(), eleven.begin() + 10);
  EXPECT_TRUE(is<sysex::Rejected>(classify(ten)));
  const auto m = classify(eleven);
  ASSERT_TRUE(is<sysex::ParameterChange>(m));
  EXPECT_EQ(std::get<sysex::ParameterChange>(m).address, 131);
  EXPECT_EQ(std::get<sysex::ParameterChange>(m).d2, 0x2A);

  // Low nibble of the class byte ignored.
  EXPECT_TRUE(is<sysex::ParameterChange>(classify(parameterChange(0x1F, 0, 1, 0, 0))));
  // Address bits above 7 are masked: 81 00 reads as 128.
  EXPECT_EQ(
      std::get<sysex::ParameterChange>(classify(parameterChange(0x10, 0x81, 0, 0, 0))).address,
      128);
  // 256 passes the bound; 257 is rejected with a diagnostic.
  EXPECT_EQ(std::get<sysex::ParameterChange>(classify(parameterChange(0x10, 2, 0, 0, 0))).address,
            256);
  EXPECT_TRUE(diagnostics.lines().empty());
  const auto beyond = classify(parameterChange(0x10, 2, 1, 0, 0));
  ASSERT_TRUE(is<sysex::Rejected>(beyond));
  EXPECT_EQ(diagnostics.lines(), std::vector<std::string>{"Invalid parameter address."});

  Bytes wrongMarker = eleven;
  wrongMarker[5] = 0x31;
  EXPECT_TRUE(is<sysex::Rejected>(classify(wrongMarker)));
}

TEST(SysexClassify, SettingAndIdentity) {
  const Bytes setting{0xF0, 0x43, 0x7D, 0x30, 0x41, 0x30, 0x02, 0x03, 0xF7};
  ASSERT_TRUE(is<sysex::SettingReport>(classify(setting)));
  EXPECT_EQ(std::get<sysex::SettingReport>(classify(setting)).value, 515);
  // Not masked to 7 bits.
  const Bytes wide{0xF0, 0x43, 0x7D, 0x3A, 0x41, 0x30, 0x81, 0x90, 0xF7};
  EXPECT_EQ(std::get<sysex::SettingReport>(classify(wide)).value, 0x81 * 256 + 0x90);
  EXPECT_TRUE(
      is<sysex::Rejected>(classify(Bytes{0xF0, 0x43, 0x7D, 0x30, 0x41, 0x31, 0x02, 0x03, 0xF7})));

  const Bytes identity{0xF0, 0x43, 0x7D, 0x60, 'V', 'K', 'R', '7', 0xF7};
  ASSERT_TRUE(is<sysex::Identity>(classify(identity)));
  EXPECT_EQ(std::get<sysex::Identity>(classify(identity)).model, '7');
  Bytes zeroModel = identity;
  zeroModel[7] = 0;
  EXPECT_TRUE(is<sysex::Rejected>(classify(zeroModel)));
  Bytes notVkr = identity;
  notVkr[6] = 'X';
  EXPECT_TRUE(is<sysex::Rejected>(classify(notVkr)));
  Bytes longer = identity;
  longer.insert(longer.end() - 1, {1, 2, 3});
  EXPECT_TRUE(is<sysex::Identity>(classify(longer)));
}

TEST(SysexClassify, ForeignAndShortMessagesAreNothing) {
  EXPECT_TRUE(is<sysex::Nothing>(classify(Bytes{0x90, 0x40, 0x7F})));
  EXPECT_TRUE(is<sysex::Nothing>(classify(Bytes{0xF0, 0x43, 0x7D, 0x60, 'V', 'K', 'R', '1'})));
  EXPECT_TRUE(
      is<sysex::Nothing>(classify(Bytes{0xF0, 0x41, 0x7D, 0x60, 'V', 'K', 'R', '1', 0xF7})));
  EXPECT_TRUE(
      is<sysex::Nothing>(classify(Bytes{0xF0, 0x43, 0x7E, 0x60, 'V', 'K', 'R', '1', 0xF7})));
  // Class 2 (the editor's own requests) and unknown classes are not acted on.
  EXPECT_TRUE(is<sysex::Nothing>(classify(sysex::encodeDumpRequest())));
  EXPECT_TRUE(is<sysex::Nothing>(classify(Bytes{0xF0, 0x43, 0x7D, 0x50, 0x41, 0x30, 0, 0, 0xF7})));
  EXPECT_TRUE(is<sysex::Nothing>(sysex::classify(nullptr, 0)));
}
