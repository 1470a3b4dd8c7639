#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "LinkedSimulator.h"
#include "device/ParameterWriter.h"

using namespace orv;
using Outcome = ParameterWriter::Outcome;
using orv::test::codeOf;

namespace {

class ParameterWriterTest : public orv::testing::LinkedSimulator {
 protected:
  void SetUp() override {
    LinkedSimulator::SetUp();
    writer = std::make_unique<ParameterWriter>(*link);
  }
  std::unique_ptr<ParameterWriter> writer;
};

}  // namespace

TEST_F(ParameterWriterTest, StompToRackSendsTheResetThenTheType) {
  // Stale compressor bytes, so the messages show the defaults and not what was there.
  connect(
      initWith({{145, 9}, {146, 9}, {147, 9}, {148, 9}, {149, 9}, {150, 2}, {151, 9}, {152, 9}}));

  EXPECT_EQ(writer->setOneByte(1008, 1), Outcome::Written);

  EXPECT_EQ(wire(), (std::vector<Bytes>{change(145, 0, 0), change(147, 0, 0), change(148, 0, 0),
                                        change(149, 0, 0), change(150, 0, 0), change(151, 0, 0),
                                        change(144, 0, 1)}));
  const PatchData m = link->mirror();
  EXPECT_EQ(m[144], 1);
  for (int o = 145; o <= 152; ++o) EXPECT_EQ(m[o], 0) << o;
  EXPECT_TRUE(link->edited());
  EXPECT_EQ(sim->patch()[144], 1);
}

TEST_F(ParameterWriterTest, ResetOrdersOfEffectAndReverb) {
  connect(initWith({{192, 3}, {193, 50}, {194, 60}, {161, 7}, {165, 7}}));

  writer->setOneByte(1041, 1);  // Spring -> Room: the seven Hall/Room/Plate defaults, then the type
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(193, 0, 3), change(195, 0, 1), change(197, 0, 21),
                                        change(199, 7, 104), change(201, 0, 1), change(202, 0, 1),
                                        change(203, 0, 0), change(192, 0, 1)}));
  forget();

  writer->setOneByte(1041, 2);  // Room -> Plate: same defaults again, all sent
  EXPECT_EQ(wire().size(), 8u);
  forget();

  writer->setOneByte(1018, 2);  // Chorus -> Tremolo: two parameters; 163..165 keep their bytes
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(161, 0, 0), change(162, 0, 0), change(160, 0, 2)}));
  EXPECT_EQ(link->mirror()[165], 7);
}

TEST_F(ParameterWriterTest, NoResetFromOrToTypeByte127) {
  connect(initWith({{160, 127}, {161, 40}, {162, 41}}));

  EXPECT_EQ(writer->setOneByte(1018, 0), Outcome::Written);
  EXPECT_EQ(wire(), std::vector<Bytes>{change(160, 0, 0)});
  EXPECT_EQ(link->mirror()[161], 40);
  EXPECT_EQ(link->mirror()[162], 41);
  forget();

  EXPECT_EQ(writer->setOneByte(1018, 127), Outcome::Written);
  EXPECT_EQ(wire(), std::vector<Bytes>{change(160, 0, 127)});
  EXPECT_EQ(link->mirror()[161], 40);
  forget();

  // A type without defaults: the type byte alone.
  writer->setOneByte(1018, 0);
  forget();
  writer->setOneByte(1018, 9);
  EXPECT_EQ(wire(), std::vector<Bytes>{change(160, 0, 9)});
}

TEST_F(ParameterWriterTest, TwoByteValuesAndUnchangedValues) {
  connect(initWith({}));

  EXPECT_EQ(writer->setTwoByte(1035, 300), Outcome::Written);
  EXPECT_EQ(link->mirror()[177], 2);
  EXPECT_EQ(link->mirror()[178], 44);
  EXPECT_EQ(
      wire(),
      (std::vector<Bytes>{{0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x01, 0x31, 0x02, 0x2C, 0xF7}}));
  EXPECT_TRUE(link->edited());

  // The same value again: nothing sent, `edited` left as it was (clear or set).
  forget();
  link->setEdited(false);
  EXPECT_EQ(writer->setTwoByte(1035, 300), Outcome::Unchanged);
  EXPECT_EQ(writer->setOneByte(1001, 0), Outcome::Unchanged);
  EXPECT_EQ(writer->setOneByte(1013, 0), Outcome::Inapplicable);  // Rack Release under Stomp
  writer->setOneByte(1008, 1);
  link->setEdited(false);
  forget();
  EXPECT_EQ(writer->setOneByte(1013, 0), Outcome::Unchanged);  // Rack's default
  EXPECT_FALSE(link->edited());
  link->setEdited(true);
  EXPECT_EQ(writer->setTwoByte(1035, 300), Outcome::Unchanged);
  EXPECT_TRUE(link->edited());
  EXPECT_TRUE(wire().empty());

  // Stray high bits in a stored pair do not count as a difference.
  link->withMirror([](PatchData& m) { m[178] |= 0x80; });
  EXPECT_EQ(writer->setTwoByte(1035, 300), Outcome::Unchanged);
}

TEST_F(ParameterWriterTest, NameSendsOnlyChangedBytesAndMasksHighBytes) {
  connect(initWith({}));  // "Empty"

  EXPECT_TRUE(writer->setName("Emptz"));
  EXPECT_EQ(wire(), std::vector<Bytes>{change(4, 0, 0x7A)});
  EXPECT_EQ(link->mirror()[4], 'z');
  EXPECT_TRUE(link->edited());

  forget();
  link->setEdited(false);
  EXPECT_FALSE(writer->setName("Emptz"));
  EXPECT_FALSE(link->edited());

  // A Latin-1 byte goes out with 7 bits; the mirror keeps it whole.
  EXPECT_TRUE(writer->setName("Caf\xE9"));
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(0, 0, 'C'), change(1, 0, 'a'), change(2, 0, 'f'),
                                        change(3, 0, 0x69), change(4, 0, 0)}));
  EXPECT_EQ(link->mirror()[3], 0xE9);

  // A 70-character text keeps 64 bytes, with no terminator inside the field.
  forget();
  EXPECT_TRUE(writer->setName(std::string(70, 'A')));
  EXPECT_EQ(wire().size(), 64u);
  EXPECT_EQ(link->mirror()[63], 'A');
  EXPECT_EQ(link->mirror()[64], 0);
}

TEST_F(ParameterWriterTest, NotConnectedChangesOnlyTheMirror) {
  EXPECT_EQ(writer->setOneByte(1008, 1), Outcome::Written);
  EXPECT_EQ(writer->setTwoByte(1035, 300), Outcome::Written);
  EXPECT_TRUE(writer->setName("Other"));
  EXPECT_EQ(writer->setSectionSwitch(208, true), Outcome::Written);
  const PatchData m = link->mirror();
  EXPECT_EQ(m[144], 1);
  EXPECT_EQ(readValue(m, 177, true), 300);
  EXPECT_EQ(m[0], 'O');
  EXPECT_EQ(m[223], 0);
  EXPECT_TRUE(link->edited());
  EXPECT_TRUE(wire().empty());
  EXPECT_EQ(backend->sends(), 0);
}

TEST_F(ParameterWriterTest, FailedSendKeepsTheMirrorAndStopsTheReset) {
  connect(initWith({{150, 1}}));

  // The amplifier is unplugged while the link still counts as connected.
  sim->vanish();
  int before = backend->sends();
  EXPECT_EQ(codeOf([&] { writer->setOneByte(1008, 1); }), 202);
  EXPECT_EQ(backend->sends() - before, 1);  // the first reset message failed; nothing more tried
  EXPECT_EQ(link->mirror()[144], 1);
  EXPECT_EQ(link->mirror()[150], 0);  // the Rack defaults are in
  EXPECT_FALSE(link->edited());

  // A port that fails from the third message on: two arrive, nothing after the failure.
  ASSERT_EQ(sim->comeBack(), 0);
  link->openPorts(0, 0);
  forget();
  backend->failFrom(3);
  before = backend->sends();
  EXPECT_EQ(codeOf([&] { writer->setOneByte(1041, 3); }), 202);
  EXPECT_EQ(backend->sends() - before, 3);
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(193, 0, 0), change(194, 0, 0)}));
  EXPECT_EQ(link->mirror()[192], 3);
  EXPECT_FALSE(link->edited());

  // The same for a name: the mirror holds the new name, `edited` stays clear.
  EXPECT_EQ(codeOf([&] { writer->setName("Z"); }), 202);
  EXPECT_EQ(link->mirror()[0], 'Z');
  EXPECT_FALSE(link->edited());
}

TEST_F(ParameterWriterTest, BadInputIsRefusedBeforeAnythingChanges) {
  connect(initWith({}));
  const PatchData before = link->mirror();

  EXPECT_EQ(codeOf([&] { writer->setOneByte(1002, 128); }), 203);
  EXPECT_EQ(codeOf([&] { writer->setOneByte(1002, -1); }), 203);
  EXPECT_EQ(codeOf([&] { writer->setTwoByte(1035, 16384); }), 203);
  EXPECT_EQ(codeOf([&] { writer->setOneByte(1035, 3); }), 203);  // two-byte parameter
  EXPECT_EQ(codeOf([&] { writer->setTwoByte(1036, 3); }), 203);  // one-byte parameter
  EXPECT_EQ(codeOf([&] { writer->setOneByte(1056, 3); }), 203);
  EXPECT_EQ(codeOf([&] { writer->setSectionSwitch(150, true); }), 203);

  // A parameter of another type than the block holds would land in someone else's bytes.
  EXPECT_EQ(writer->setOneByte(1012, 50), Outcome::Inapplicable);  // Rack Attack under Stomp
  EXPECT_EQ(writer->setTwoByte(1011, 50), Outcome::Inapplicable);  // Rack Threshold under Stomp
  EXPECT_EQ(writer->setOneByte(1049, 50), Outcome::Inapplicable);  // Spring Reverb under Hall

  EXPECT_EQ(link->mirror(), before);
  EXPECT_FALSE(link->edited());
  EXPECT_TRUE(wire().empty());
}

TEST_F(ParameterWriterTest, SectionSwitchesAndResetWithoutSending) {
  connect(initWith({}));

  EXPECT_EQ(writer->setSectionSwitch(144, true), Outcome::Written);
  EXPECT_EQ(writer->setSectionSwitch(144, true), Outcome::Unchanged);
  EXPECT_EQ(writer->setSectionSwitch(192, false), Outcome::Unchanged);  // already off
  EXPECT_EQ(writer->setSectionSwitch(208, true), Outcome::Written);
  EXPECT_EQ(writer->setSectionSwitch(208, false), Outcome::Written);
  EXPECT_EQ(wire(),
            (std::vector<Bytes>{change(159, 0, 0), change(223, 0, 0), change(223, 0, 127)}));
  forget();

  link->setEdited(false);
  writer->resetSection(1041, 3, false);
  EXPECT_EQ(link->mirror()[194], 0);    // Spring defaults over the Hall Time
  EXPECT_EQ(link->mirror()[192], 0);    // the type byte is the caller's
  writer->resetSection(1034, 0, true);  // delay has no reset
  EXPECT_TRUE(wire().empty());
  EXPECT_FALSE(link->edited());
}

TEST_F(ParameterWriterTest, TypeChangesStayWholeWhileTheAmplifierTurnsKnobs) {
  connect(initWith({}));
  constexpr int kRounds = 300;

  // The amplifier turns its gain knob while the editor flips the compressor type back and forth.
  std::atomic<bool> done{false};
  std::thread amp([&] {
    for (int v = 1; v <= kRounds; ++v) sim->turnKnob(1002, v % 101);
    done = true;
  });
  int flips = 0;
  while (!done || flips < 20) writer->setOneByte(1008, static_cast<uint8_t>(++flips % 2));
  amp.join();
  service->flush();

  const PatchData m = link->mirror();
  EXPECT_EQ(m[129], kRounds % 101);  // no knob turn was lost under a type change
  EXPECT_EQ(m[144], flips % 2);
  for (int o = 145; o <= 152; ++o) EXPECT_EQ(m[o], 0) << o;
  EXPECT_EQ(sim->patch()[144], m[144]);
}
