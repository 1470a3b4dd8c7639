#include <gtest/gtest.h>

#include "device/SysexCodec.h"
#include "tools/ampsim/AmpSimProgram.h"

namespace orv {
namespace {

std::optional<AmpSimProgram::Options> parse(std::vector<std::string> args,
                                            std::string* why = nullptr) {
  std::string error;
  bool help = false;
  auto o = AmpSimProgram::parseArguments(args, error, help);
  if (why) *why = error;
  return o;
}

TEST(AmpSimArguments, TakeNameModelServiceAndPeriodAndRefuseTheRest) {
  const auto o = parse({"--name", "ORV5", "--model", "4", "--midi-api", "jack", "--period", "250"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->name, "ORV5");
  EXPECT_EQ(o->model, '4');
  EXPECT_EQ(o->api, RtMidiBackend::Api::Jack);
  EXPECT_EQ(o->periodMs, 250);
  const auto d = parse({});
  ASSERT_TRUE(d);
  EXPECT_EQ(d->name, "ORV10");
  EXPECT_EQ(d->model, '1');
  EXPECT_EQ(d->api, RtMidiBackend::Api::Any);

  std::string why;
  for (const auto& bad : std::vector<std::vector<std::string>>{{"--model", "5"},
                                                               {"--model", "1x"},
                                                               {"--model", " 3"},
                                                               {"--midi-api", "oss"},
                                                               {"--name", ""},
                                                               {"--period", "0"},
                                                               {"--name"},
                                                               {"extra"}})
    EXPECT_FALSE(parse(bad, &why)) << bad.front();
  EXPECT_EQ(parse({"--bridge", "pipewire"})->bridge, VirtualDevice::Bridge::PipeWire);
  EXPECT_FALSE(parse({"--bridge", "none"}));
  EXPECT_FALSE(parse({"--bridge", "a2j", "--midi-api", "alsa"}));
  parse({"--model", "7"}, &why);
  EXPECT_EQ(why, "--model takes 0..4, not 7");
  parse({"--name=", "--midi-api", "jack"}, &why);  // an empty value, not the next argument
  EXPECT_EQ(why, "--name must not be empty");
}

TEST(AmpSimArguments, HelpAndVersionFromTheOneDeclaration) {
  std::string error;
  bool help = false, version = false;
  EXPECT_TRUE(AmpSimProgram::parseArguments({"--help"}, error, help, &version));
  EXPECT_TRUE(help);
  EXPECT_TRUE(AmpSimProgram::parseArguments({"--version"}, error, help, &version));
  EXPECT_TRUE(version);
  EXPECT_FALSE(help);
  const std::string usage = AmpSimProgram::usage();
  for (const char* line : {"--model 0..4", "--midi-api alsa|jack|any", "--period MS",
                           "--bridge a2j|system|pipewire", "knob ID VALUE"})
    EXPECT_NE(usage.find(line), std::string::npos) << line;
}

TEST(AmpSimOutput, OneLinePerMessageWithItsKind) {
  const auto request = sysex::encodeDumpRequest();
  EXPECT_EQ(AmpSimProgram::describe(request.data(), request.size()),
            "rx F0 43 7D 20 56 4B 52 31 41 6C 6C 50 F7 (dump request)");
  const auto change = sysex::encodeParameterChange(177, 2, 44);
  EXPECT_EQ(AmpSimProgram::describe(change.data(), change.size()),
            "rx F0 43 7D 10 41 30 01 31 02 2C F7 (parameter change offset 177 = 2 44)");
  const auto setting = sysex::encodeSettingChange(2, 4);
  EXPECT_EQ(AmpSimProgram::describe(setting.data(), setting.size()),
            "rx F0 43 7D 30 41 30 02 04 F7 (setting change 2 = 4)");
  const uint8_t probe[] = {0xE0, 0x0F, 0x00};
  EXPECT_EQ(AmpSimProgram::describe(probe, 3), "rx E0 0F 00 (short message)");
  const uint8_t junk[] = {0x43, 0x7D};
  EXPECT_EQ(AmpSimProgram::describe(junk, 2), "rx 43 7D (other)");
}

}  // namespace
}  // namespace orv
