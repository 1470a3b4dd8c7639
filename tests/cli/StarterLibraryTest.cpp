#include <gtest/gtest.h>

#include <map>
#include <set>

#include "cli/CliTestSupport.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

using namespace orv;
using namespace orv::test;

namespace {

struct Range {
  int lo, hi;
};

// What each model family allows: the highest amp type and the size of its cabinet list.
const std::map<uint8_t, std::pair<int, int>> kFamilies = {
    {'0', {4, 6}}, {'1', {7, 6}}, {'2', {7, 5}}, {'3', {7, 6}}, {'4', {4, 6}}};

// Ranges of the parameters by offset for the block types in use, as the amplifier takes them.
std::map<int, Range> rangesFor(const PatchData& p, int cabinets) {
  const Range pc{0, 100};
  std::map<int, Range> r = {{129, pc},         {130, pc}, {131, pc},
                            {132, pc},         {133, pc}, {134, {0, cabinets - 1}},
                            {177, {1, 9999}},  {179, pc}, {180, {1000, 16001}},
                            {182, {21, 8000}}, {184, pc}, {209, pc},
                            {210, pc}};
  if (p[144] == 0) r.insert({{145, pc}, {146, pc}});
  if (p[144] == 1)
    r.insert(
        {{145, {0, 600}}, {147, pc}, {148, pc}, {149, {0, 5}}, {150, {0, 2}}, {151, {0, 600}}});
  const int effectKnobs[] = {3, 5, 2, 4};  // Chorus, Flanger, Tremolo, Phaser
  for (int i = 0; p[160] <= 3 && i < effectKnobs[p[160]]; ++i) r.insert({161 + i, pc});
  if (p[192] <= 2)
    r.insert({{193, {3, 200}},
              {195, {1, 2000}},
              {197, {21, 8000}},
              {199, {1000, 16001}},
              {201, {1, 10}},
              {202, {1, 14}},
              {203, pc}});
  if (p[192] == 3) r.insert({{193, pc}, {194, pc}});
  return r;
}

bool twoByte(const PatchData& p, int offset) {
  if (offset == 145 || offset == 151) return p[144] == 1;  // Rack Threshold and Output
  if (offset == 193) return p[192] <= 2;                   // Time, not Spring's Reverb
  return offset == 177 || offset == 180 || offset == 182 || offset == 195 || offset == 197 ||
         offset == 199;
}

}  // namespace

TEST(StarterLibrary, TwentyValidDistinctSoundsForEachFamily) {
  TempDir dir;
  const std::string zbl = (dir / "Starter.ZBL").string();
  const CliResult built = runCli({"from-design", ORV_STARTER_DESIGN, zbl});
  ASSERT_EQ(built.status, 0) << built.err;
  Library library;
  readLibrary(library, zbl);

  std::set<std::string> names;
  std::map<uint8_t, std::set<std::vector<uint8_t>>> sounds;
  for (const LibraryEntry& e : library.entries()) {
    const PatchData& p = e.data;
    const std::string name = patchName(p);
    ASSERT_TRUE(kFamilies.count(e.modelCode)) << name;
    const auto [maxAmp, cabinets] = kFamilies.at(e.modelCode);
    EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
    EXPECT_LE(p[128], maxAmp) << name;
    EXPECT_LE(p[144], 1) << name;
    EXPECT_LE(p[160], 3) << name;
    EXPECT_EQ(p[176], 0) << name;
    EXPECT_LE(p[192], 3) << name;
    EXPECT_EQ(p[208], 0) << name;
    for (int on : {159, 175, 191, 207, 223}) EXPECT_TRUE(p[on] == 0 || p[on] == 127) << name;
    for (const auto& [offset, range] : rangesFor(p, p[128] <= maxAmp ? cabinets : 0)) {
      const int v = twoByte(p, offset) ? p[offset] * 128 + p[offset + 1] : p[offset];
      EXPECT_TRUE(v >= range.lo && v <= range.hi) << name << " offset " << offset << " = " << v;
    }
    EXPECT_GE(p[130], 40) << name << ": master too low to balance with the others";
    sounds[e.modelCode].insert(std::vector<uint8_t>(p.bytes.begin() + 128, p.bytes.begin() + 224));
  }
  for (const auto& [model, distinct] : sounds) EXPECT_EQ(distinct.size(), 20u) << model;
}

TEST(StarterLibrary, ADesignOutOfRangeIsRefusedNamingTheField) {
  TempDir dir;
  const std::string_view design =
      R"({"patches": [{"name": "X", "model": "2", "amp": {"type": "BROWN I", "Gain": 101}}]})";
  writeBytes(dir / "d.json", {design.begin(), design.end()});
  const CliResult r = runCli({"from-design", (dir / "d.json").string(), (dir / "o.ZBL").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("patches[0].amp.Gain: must lie within 0..100, not 101"), std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "o.ZBL"));
}
