// The generated parameter reference: what it says about the panel, and that it refuses to print
// a table with a missing description.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "DescriptionFile.h"
#include "ParameterReference.h"
#include "ReferenceWriter.h"

namespace orv::helpdoc {
namespace {

const ReferenceTable* tableOf(const std::vector<ReferenceTable>& tables, const std::string& key) {
  const auto at = std::find_if(tables.begin(), tables.end(),
                               [&](const ReferenceTable& t) { return t.key == key; });
  return at == tables.end() ? nullptr : &*at;
}

std::vector<std::string> captions(const ReferenceTable& t) {
  std::vector<std::string> out;
  for (const ReferenceRow& r : t.rows) out.push_back(r.caption);
  return out;
}

DescriptionFile parse(const std::string& text) {
  std::istringstream in(text);
  return DescriptionFile::read(in, "test.txt");
}

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ParameterReference, FollowsEachModelFamilysPanel) {
  // Model family 3 captions its delay Tape Echo and has no cut filters there.
  const auto three = ParameterReference::ofFamily('3');
  ASSERT_TRUE(tableOf(three, "tape-echo"));
  EXPECT_EQ(captions(*tableOf(three, "tape-echo")),
            (std::vector<std::string>{"Time", "Feedback", "Level"}));
  EXPECT_FALSE(tableOf(three, "delay"));
  // The acoustic family: Mic Type, Blend, no cabinet.
  const auto four = ParameterReference::ofFamily('4');
  ASSERT_TRUE(tableOf(four, "mic-type") && tableOf(four, "amp"));
  EXPECT_EQ(captions(*tableOf(four, "mic-type")),
            (std::vector<std::string>{"EG CLN", "NYLON", "TUBE", "DYNAMIC", "CONDENSER"}));
  EXPECT_EQ(captions(*tableOf(four, "amp")),
            (std::vector<std::string>{"Blend", "Master", "Bass", "Middle", "Treble"}));
  // Effects in the order of their list, not of their data values.
  const auto one = ParameterReference::ofFamily('1');
  std::vector<std::string> effects;
  for (const ReferenceTable& t : one)
    if (t.key.rfind("effect.", 0) == 0) effects.push_back(t.title);
  EXPECT_EQ(effects, (std::vector<std::string>{"Effect: Chorus", "Effect: Flanger",
                                               "Effect: Phaser", "Effect: Tremolo"}));
}

TEST(ParameterReference, ShowsRangesAndStepsAsTheReadOuts) {
  const auto tables = ParameterReference::ofFamily('2');
  const ReferenceTable* hall = tableOf(tables, "reverb.hall");
  ASSERT_TRUE(hall);
  const ReferenceRow& time = hall->rows[0];
  EXPECT_EQ(time.key, "reverb.hall.time");
  EXPECT_EQ(time.range, "0.3s \xE2\x80\xA6 20s");
  EXPECT_EQ(time.step, "0.1s");
  const ReferenceRow& lowCut = hall->rows[2];
  EXPECT_EQ(lowCut.range, "Thru \xE2\x80\xA6 8000Hz");
  EXPECT_EQ(lowCut.step, "1Hz");
  const ReferenceTable* rack = tableOf(tables, "compressor.rack");
  ASSERT_TRUE(rack && rack->rows.size() == 6u);
  EXPECT_EQ(rack->rows[0].range, "-60.0dB \xE2\x80\xA6 0.0dB");
  EXPECT_EQ(rack->rows[0].step, "0.1dB");
  EXPECT_EQ(rack->rows[4].range, "Soft, Medium, Hard");
  EXPECT_EQ(rack->rows[4].step, "");
  const ReferenceTable* amp = tableOf(tables, "amp");
  ASSERT_TRUE(amp);
  EXPECT_EQ(amp->rows.back().range, "Fuel 4x12, Brown 4x12, Vintage 4x12, Juicy 4x12, Mods 4x12");
}

TEST(ParameterReference, NamesTheFamiliesATableHoldsFor) {
  const auto tables = ParameterReference::build();
  ASSERT_TRUE(tableOf(tables, "tape-echo") && tableOf(tables, "delay"));
  EXPECT_EQ(tableOf(tables, "tape-echo")->families, std::vector<char>{'3'});
  EXPECT_EQ(tableOf(tables, "delay")->families, (std::vector<char>{'0', '1', '2', '4'}));
  EXPECT_EQ(tableOf(tables, "noise-gate")->families, (std::vector<char>{'0', '1', '2', '3', '4'}));
}

const char* const kLabels =
    "label.control = C\nlabel.range = R\nlabel.step = S\nlabel.what-it-does = W\n"
    "label.name = N\nlabel.choice = list\nlabel.family = F {}\nlabel.families = FF {}\n"
    "label.every-family = all\n";

std::vector<ReferenceTable> gateOnly() {
  return {{ReferenceTable::Kind::Knobs,
           "noise-gate",
           "Noise Gate",
           {{"noise-gate.threshold", "Threshold", "0.0 \xE2\x80\xA6 10.0", "0.1"}},
           {'1', '3'}}};
}

TEST(ReferenceWriter, WritesTheTableAtTheMarkerOnly) {
  const DescriptionFile texts = parse(std::string(kLabels) +
                                      "noise-gate = Quiet.\nnoise-gate.threshold = Mutes a|b\n"
                                      "  below it.\n");
  const std::string out =
      ReferenceWriter(texts).assemble("# M\n\n  <!-- parameters -->\n\nEnd\n", gateOnly());
  EXPECT_EQ(out,
            "# M\n\n### Noise Gate\n\n*FF 1, 3*\n\nQuiet.\n\n| C | R | S | W |\n|---|---|---|---|\n"
            "| **Threshold** | 0.0 \xE2\x80\xA6 10.0 | 0.1 | Mutes a\\|b below it. |\n\n\nEnd\n");
}

TEST(ReferenceWriter, RefusesMissingAndLeftOverDescriptionsAndMarkers) {
  const DescriptionFile missing = parse(std::string(kLabels) +
                                        "noise-gate = Quiet.\n"
                                        "noise-gate.treshold = typo\n");
  const std::string error =
      errorOf([&] { ReferenceWriter(missing).assemble("<!-- parameters -->\n", gateOnly()); });
  EXPECT_NE(error.find("no description for noise-gate.threshold"), std::string::npos) << error;
  EXPECT_NE(error.find("nothing uses noise-gate.treshold"), std::string::npos) << error;

  const DescriptionFile complete =
      parse(std::string(kLabels) + "noise-gate = Q.\nnoise-gate.threshold = T.\n");
  EXPECT_NE(errorOf([&] {
              ReferenceWriter(complete).assemble("# M\n", gateOnly());
            }).find("exactly once (found 0)"),
            std::string::npos);
  EXPECT_NE(errorOf([&] {
              ReferenceWriter(complete).assemble("<!-- parameters -->\n<!-- parameters -->\n",
                                                 gateOnly());
            }).find("found 2"),
            std::string::npos);
}

TEST(DescriptionFile, NamesTheLineOfAMistake) {
  EXPECT_EQ(errorOf([] { parse("# c\na = x\n\na = y\n"); }), "test.txt:4: 'a' is given twice");
  EXPECT_EQ(errorOf([] { parse("a =   \n"); }), "test.txt:1: 'a' has no text");
  EXPECT_EQ(errorOf([] { parse("  stray\n"); }),
            "test.txt:1: continuation line without an entry above it");
  EXPECT_NE(errorOf([] { parse("Amp.Gain = x\n"); }).find("test.txt:1: expected"),
            std::string::npos);
}

}  // namespace
}  // namespace orv::helpdoc
