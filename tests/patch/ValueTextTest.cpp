#include <gtest/gtest.h>

#include <locale>
#include <string>

#include "patch/NameLists.h"
#include "patch/ValueText.h"

using namespace orv;

TEST(FormatValue, DecibelDisplaysOfTheRackCompressor) {
  EXPECT_EQ(formatValue(1011, 0), "-60.0dB");
  EXPECT_EQ(formatValue(1011, 300), "-30.0dB");
  EXPECT_EQ(formatValue(1011, 595), "-0.5dB");
  EXPECT_EQ(formatValue(1011, 600), "0.0dB");
  EXPECT_EQ(formatValue(1016, 0), "-20.0dB");
  EXPECT_EQ(formatValue(1016, 200), "0.0dB");
  EXPECT_EQ(formatValue(1016, 600), "40.0dB");
}

TEST(FormatValue, TimesAndFrequencies) {
  EXPECT_EQ(formatValue(1035, 1), "0.1ms");
  EXPECT_EQ(formatValue(1035, 9999), "999.9ms");
  for (int id : {1037, 1045}) {
    EXPECT_EQ(formatValue(id, 1000), "1000Hz");
    EXPECT_EQ(formatValue(id, 16000), "16000Hz");
    EXPECT_EQ(formatValue(id, 16001), "Thru");
  }
  for (int id : {1038, 1044}) {
    EXPECT_EQ(formatValue(id, 21), "Thru");
    EXPECT_EQ(formatValue(id, 22), "22Hz");
    EXPECT_EQ(formatValue(id, 8000), "8000Hz");
  }
  // Reverb Time and Pre Delay drop the decimal from 10 units up, rounding down.
  EXPECT_EQ(formatValue(1042, 3), "0.3s");
  EXPECT_EQ(formatValue(1042, 99), "9.9s");
  EXPECT_EQ(formatValue(1042, 100), "10s");
  EXPECT_EQ(formatValue(1042, 155), "15s");
  EXPECT_EQ(formatValue(1042, 200), "20s");
  EXPECT_EQ(formatValue(1043, 1), "0.1ms");
  EXPECT_EQ(formatValue(1043, 99), "9.9ms");
  EXPECT_EQ(formatValue(1043, 100), "10ms");
  EXPECT_EQ(formatValue(1043, 2000), "200ms");
}

TEST(FormatValue, CabinetAndRatioHaveNoTextOthersShowTenths) {
  EXPECT_EQ(formatValue(1007, 3), "");
  EXPECT_EQ(formatValue(1014, 5), "");
  EXPECT_EQ(formatValue(1002, 0), "0.0");
  EXPECT_EQ(formatValue(1002, 7), "0.7");
  EXPECT_EQ(formatValue(1002, 55), "5.5");
  EXPECT_EQ(formatValue(1053, 100), "10.0");
  EXPECT_EQ(formatValue(1046, 1), "0.1");
  EXPECT_EQ(formatValue(1047, 14), "1.4");
  EXPECT_EQ(formatValue(9999, 127), "12.7");
  EXPECT_EQ(formatValue(1002, -5), "-0.5");
}

TEST(ParseValue, NoValueDisplaysReadNothing) {
  for (int id : {2, 1007, 1014}) EXPECT_EQ(parseValue(id, "55"), 0) << id;
}

TEST(ParseValue, DecibelDisplaysRoundHalfUpAndClamp) {
  EXPECT_EQ(parseValue(1011, "-12.5"), 475);
  EXPECT_EQ(parseValue(1011, "-30"), 300);
  EXPECT_EQ(parseValue(1011, "0"), 600);
  EXPECT_EQ(parseValue(1011, "5"), 600);
  EXPECT_EQ(parseValue(1011, "-70"), 0);
  EXPECT_EQ(parseValue(1011, "abc"), 600);  // not a number reads as 0 dB
  EXPECT_EQ(parseValue(1016, "0"), 200);
  EXPECT_EQ(parseValue(1016, "40"), 600);
  EXPECT_EQ(parseValue(1016, "-25"), 0);
  EXPECT_EQ(parseValue(1016, "-0.04"), 200);
  EXPECT_EQ(parseValue(1016, "-0.05"), 200);  // y = 199.5 rounds up
}

TEST(ParseValue, TimesInTenths) {
  EXPECT_EQ(parseValue(1035, "12.5"), 125);
  EXPECT_EQ(parseValue(1035, "0"), 1);
  EXPECT_EQ(parseValue(1035, "1000"), 9999);
  EXPECT_EQ(parseValue(1042, "0.1"), 3);
  EXPECT_EQ(parseValue(1042, "15"), 150);
  EXPECT_EQ(parseValue(1042, "21"), 200);
  EXPECT_EQ(parseValue(1043, "0"), 1);
  EXPECT_EQ(parseValue(1043, "99.96"), 1000);
  EXPECT_EQ(parseValue(1043, "250"), 2000);
  EXPECT_EQ(parseValue(1046, "0.5"), 5);
  EXPECT_EQ(parseValue(1046, "0"), 1);
  EXPECT_EQ(parseValue(1046, "2"), 10);
  EXPECT_EQ(parseValue(1047, "1.4"), 14);
  EXPECT_EQ(parseValue(1047, "9"), 14);
  EXPECT_EQ(parseValue(1047, "x"), 1);
}

TEST(ParseValue, CutFrequenciesTakeThruOnlyWhenExact) {
  for (int id : {1037, 1045}) {
    EXPECT_EQ(parseValue(id, "Thru"), 16001);
    EXPECT_EQ(parseValue(id, "thru"), 1000);
    EXPECT_EQ(parseValue(id, "Thru "), 1000);
    EXPECT_EQ(parseValue(id, "5000"), 5000);
    EXPECT_EQ(parseValue(id, "5000.9Hz"), 5000);  // whole numbers only
    EXPECT_EQ(parseValue(id, "20000"), 16001);
    EXPECT_EQ(parseValue(id, "99999999999999999999999"), 16001);
    EXPECT_EQ(parseValue(id, "-99999999999999999999999"), 1000);
  }
  for (int id : {1038, 1044}) {
    EXPECT_EQ(parseValue(id, "Thru"), 21);
    EXPECT_EQ(parseValue(id, "THRU"), 21);  // not a number: 0, clamped up to 21
    EXPECT_EQ(parseValue(id, "300"), 300);
    EXPECT_EQ(parseValue(id, "9000"), 8000);
  }
}

TEST(ParseValue, EveryOtherDisplayReadsTenthsZeroToHundred) {
  EXPECT_EQ(parseValue(1002, "2.5"), 25);
  EXPECT_EQ(parseValue(1002, "150"), 100);
  EXPECT_EQ(parseValue(1002, "-1"), 0);
  EXPECT_EQ(parseValue(1002, "0.35"), 4);  // read in single precision: 3.5 rounds up
  EXPECT_EQ(parseValue(1053, "  \t7.3dB"), 73);
  EXPECT_EQ(parseValue(1053, "+7"), 70);
  EXPECT_EQ(parseValue(1053, ".5"), 5);
  EXPECT_EQ(parseValue(1053, "1e0"), 10);
}

TEST(ParseValue, StrangeTextNeverMisbehaves) {
  // Not numbers: read as 0.
  for (const char* text : {"", " ", "-", "+", "--5", "+-5", ".", "e5", "nan", "x1", "0x"})
    EXPECT_EQ(parseValue(1002, text), 0) << text;
  // Out of every range: clamped, never undefined.
  EXPECT_EQ(parseValue(1002, "inf"), 100);
  EXPECT_EQ(parseValue(1002, "-infinity"), 0);
  EXPECT_EQ(parseValue(1002, "1e40"), 100);
  EXPECT_EQ(parseValue(1002, "1e400"), 100);
  EXPECT_EQ(parseValue(1002, "-1e400"), 0);
  EXPECT_EQ(parseValue(1002, "1e-400"), 0);
  EXPECT_EQ(parseValue(1011, "1e-400"), 600);
  EXPECT_EQ(parseValue(1035, std::string(5000, '9')), 9999);
  EXPECT_EQ(parseValue(1002, std::string("5\0"
                                         "9",
                                         3)),
            50);
}

namespace {
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};
}  // namespace

TEST(ValueText, UsesCConventionsWhateverTheLocale) {
  const std::locale before =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  EXPECT_EQ(formatValue(1011, 475), "-12.5dB");
  EXPECT_EQ(formatValue(1037, 12000), "12000Hz");
  EXPECT_EQ(parseValue(1002, "2.5"), 25);
  EXPECT_EQ(parseValue(1002, "2,5"), 20);
  std::locale::global(before);
}

TEST(NameLists, PullDownItems) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(pullDownItems(0), (V{"Stomp", "Rack"}));
  EXPECT_EQ(pullDownItems(1), (V{"Chorus", "Flanger", "Phaser", "Tremolo"}));
  EXPECT_EQ(pullDownItems(2), (V{"Delay"}));
  EXPECT_EQ(pullDownItems(3), (V{"Hall", "Room", "Plate", "Spring"}));
  EXPECT_EQ(pullDownItems(4).size(), 6u);
  EXPECT_EQ(pullDownItems(4)[5], "4x10");
  EXPECT_EQ(pullDownItems(5), (V{"Soft", "Medium", "Hard"}));
  EXPECT_EQ(pullDownItems(6).size(), 5u);
  EXPECT_EQ(pullDownItems(6)[4], "Mods 4x12");
  EXPECT_EQ(pullDownItems(7).size(), 6u);
  EXPECT_EQ(pullDownItems(7)[5], "Tavolin 2x12");
  EXPECT_TRUE(pullDownItems(8).empty());
  EXPECT_TRUE(pullDownItems(-1).empty());
  for (int list = 0; list < 8; ++list)
    for (std::string_view item : pullDownItems(list)) EXPECT_LE(item.size(), 40u);
}

TEST(NameLists, KnobCaptionsFollowTheType) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(knobCaptions(Section::Compressor, 0), (V{"Sustain", "Output"}));
  EXPECT_EQ(knobCaptions(Section::Compressor, 1).size(), 6u);
  EXPECT_EQ(knobCaptions(Section::Compressor, 1)[3], "Ratio");
  // Effect types in data numbering: 2 is Tremolo, 3 is Phaser.
  EXPECT_EQ(knobCaptions(Section::Effect, 2), (V{"Freq", "Depth"}));
  EXPECT_EQ(knobCaptions(Section::Effect, 3), (V{"Speed", "Manual", "Depth", "Feedback"}));
  EXPECT_EQ(knobCaptions(Section::Effect, 1).back(), "Spread");
  EXPECT_EQ(knobCaptions(Section::Effect, 0), (V{"Speed", "Depth", "Mix"}));
  EXPECT_EQ(knobCaptions(Section::Delay, 0),
            (V{"Time", "Feedback", "High Cut", "Low Cut", "Level"}));
  EXPECT_EQ(knobCaptions(Section::Reverb, 2).size(), 7u);
  EXPECT_EQ(knobCaptions(Section::Reverb, 3), (V{"Reverb", "Filter"}));
  EXPECT_EQ(knobCaptions(Section::Gate, 0), (V{"Threshold", "Release"}));
  EXPECT_TRUE(knobCaptions(Section::Compressor, 2).empty());
  EXPECT_TRUE(knobCaptions(Section::Effect, 4).empty());
  EXPECT_TRUE(knobCaptions(Section::Reverb, 127).empty());
}

TEST(NameLists, AmplifierModelNamesByFamily) {
  EXPECT_EQ(ampModelName('0', 0), "CLEAN");
  EXPECT_EQ(ampModelName('1', 7), "FLAT");
  EXPECT_EQ(ampModelName('2', 4), "SOUTHERN HI");
  EXPECT_EQ(ampModelName('2', 5), "CLEAN");
  EXPECT_EQ(ampModelName('3', 3), "BRIT BLUES");
  EXPECT_EQ(ampModelName('4', 4), "CONDENSER");
  EXPECT_EQ(ampModelName('4', 5), "");
  EXPECT_EQ(ampModelName('\xFF', 1), "CRUNCH");
  EXPECT_EQ(ampModelName('0', 8), "");
  EXPECT_EQ(ratioMark(0), "1:1");
  EXPECT_EQ(ratioMark(4), "1:20");
  EXPECT_EQ(ratioMark(6), "");
}
