#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>

#include "cli/CliTestSupport.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

using namespace orv;
using namespace orv::test;
using Json = nlohmann::ordered_json;

namespace {

// Every stored byte random, including unused data bytes, bytes of 0x80 and above, the kept
// bytes, slot headers and model bytes.
std::vector<uint8_t> randomLibraryFile(unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(files::kLibraryFileSize);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  const uint8_t head[8] = {'V', 'K', 'R', 'B', 0xC3, 0x00, 100, 0};
  std::copy(std::begin(head), std::end(head), bytes.begin());
  return bytes;
}

Json toJson(const std::filesystem::path& file) {
  const CliResult r = runCli({"to-json", file.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  return Json::parse(r.out);
}

}  // namespace

TEST(CliJson, LibraryRoundTripIsByteForByte) {
  TempDir dir;
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::vector<uint8_t> original = randomLibraryFile(seed);
    writeBytes(dir / "in.ZBL", original);
    const CliResult json = runCli({"to-json", (dir / "in.ZBL").string()});
    ASSERT_EQ(json.status, 0) << json.err;
    writeText(dir / "lib.json", json.out);
    const CliResult back =
        runCli({"from-json", "--force", (dir / "lib.json").string(), (dir / "out.ZBL").string()});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(readBytes(dir / "out.ZBL"), original) << seed;
  }
}

TEST(CliJson, PatchRoundTripIsByteForByte) {
  TempDir dir;
  std::mt19937 rng(7);
  for (int round = 0; round < 5; ++round) {
    std::vector<uint8_t> original(files::kPatchFileSize);
    for (auto& b : original) b = static_cast<uint8_t>(rng());
    std::copy_n("VKRP", 4, original.begin());
    writeBytes(dir / "in.ZBP", original);
    writeText(dir / "p.json", runCli({"to-json", (dir / "in.ZBP").string()}).out);
    ASSERT_EQ(
        runCli({"from-json", "--force", (dir / "p.json").string(), (dir / "out.ZBP").string()})
            .status,
        0);
    EXPECT_EQ(readBytes(dir / "out.ZBP"), original);
  }
}

TEST(CliJson, NamesEveryParameterWithItsValue) {
  TempDir dir;
  LibraryEntry e;
  initPatch("Clean \xC4", e.data);
  e.data[patch::kCompType] = patch::Rack;
  writeValue(e.data, 151, true, 450);
  e.data[150] = 1;
  e.data[patch::kCompOn] = patch::kOn;
  e.data[patch::kEffectType] = patch::Tremolo;
  e.data[161] = 33;
  writeValue(e.data, patch::kDelayTime, true, 3000);
  e.modelCode = '3';
  writePatchFile(e, dir / "p.ZBP");
  const Json j = toJson(dir / "p.ZBP");
  EXPECT_EQ(j["kind"], "patch");
  EXPECT_EQ(j["name"], "Clean \xC3\x84");
  EXPECT_EQ(j["modelByte"], "33");
  EXPECT_EQ(j["data"].size(), 16u);
  EXPECT_EQ(j["data"][15].get<std::string>().size(), 15u * 3 - 1);  // bytes 240..254
  const Json& s = j["sections"];
  EXPECT_EQ(s["amp"]["type"], "DELUXE");
  EXPECT_EQ(s["amp"]["Cabinet"], "Brit Blues 2x12");
  EXPECT_EQ(s["compressor"]["type"], "Rack");
  EXPECT_EQ(s["compressor"]["on"], true);
  EXPECT_EQ(s["compressor"]["Output"], 450);
  EXPECT_EQ(s["compressor"]["Knee"], "Medium");
  EXPECT_EQ(s["effect"]["type"], "Tremolo");
  EXPECT_EQ(s["effect"]["Freq"], 33);
  EXPECT_FALSE(s["effect"].contains("Mix"));
  EXPECT_EQ(s["delay"]["Time"], 3000);
  EXPECT_EQ(s["reverb"]["type"], "Hall");
  EXPECT_EQ(s["gate"]["on"], false);

  // A library carries the same per slot, numbered as the list shows them.
  ASSERT_EQ(runCli({"new", (dir / "L.ZBL").string()}).status, 0);
  const Json lib = toJson(dir / "L.ZBL");
  EXPECT_EQ(lib["kind"], "library");
  EXPECT_EQ(lib["keptBytes"], "30 31");
  ASSERT_EQ(lib["slots"].size(), 100u);
  EXPECT_EQ(lib["slots"][41]["slot"], 42);
  EXPECT_EQ(lib["slots"][41]["name"], "Empty");
  EXPECT_EQ(lib["slots"][41]["modelByte"], "FF");
}

TEST(CliJson, FromJsonRefusesInconsistentOrBrokenInputAndWritesNothing) {
  TempDir dir;
  ASSERT_EQ(runCli({"new", (dir / "L.ZBL").string()}).status, 0);
  const Json good = toJson(dir / "L.ZBL");
  writeBytes(dir / "keep.ZBL", {9, 9, 9});

  const auto refused = [&](const std::string& text, const std::string& expected) {
    writeText(dir / "in.json", text);
    const CliResult r =
        runCli({"from-json", (dir / "in.json").string(), (dir / "keep.ZBL").string()});
    EXPECT_EQ(r.status, 1) << text.substr(0, 200);
    EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(dir / "keep.ZBL"), (std::vector<uint8_t>{9, 9, 9}));
  };

  Json edited = good;
  edited["slots"][2]["sections"]["delay"]["Time"] = 50;  // an edit the bytes do not carry
  refused(edited.dump(), "slots[2].sections.delay.Time");
  edited = good;
  edited["slots"][0]["name"] = "Renamed";
  refused(edited.dump(), "slots[0].name");
  edited = good;
  edited["slots"].erase(99);
  refused(edited.dump(), "exactly 100 slots");
  edited = good;
  edited["slots"][5]["data"][3] = "00 00 ZZ";
  refused(edited.dump(), "slots[5].data");
  edited = good;
  edited["slots"][5]["data"].erase(15);
  refused(edited.dump(), "255 bytes");
  edited = good;
  edited["slots"][7]["header"] = "00 00 00 00";
  refused(edited.dump(), "slots[7].header");
  edited = good;
  edited["slots"][7]["colour"] = "red";
  refused(edited.dump(), "slots[7].colour");
  edited = good;
  edited["slots"][7]["slot"] = 9;
  refused(edited.dump(), "slots[7].slot");
  edited = good;
  edited["kind"] = "bank";
  refused(edited.dump(), "kind");
  refused("{\"kind\": \"library\", ", "not valid JSON");
  refused("[1, 2]", "kind");

  // Fields left out are fine: the bytes alone make the file.
  edited = good;
  for (Json& slot : edited["slots"]) {
    slot.erase("sections");
    slot.erase("name");
  }
  writeText(dir / "in.json", edited.dump());
  ASSERT_EQ(runCli({"from-json", (dir / "in.json").string(), (dir / "out.ZBL").string()}).status,
            0);
  EXPECT_EQ(readBytes(dir / "out.ZBL"), readBytes(dir / "L.ZBL"));
}

TEST(CliJson, ToJsonTellsFilesApartByMagic) {
  TempDir dir;
  ASSERT_EQ(runCli({"new", (dir / "L.ZBL").string()}).status, 0);
  std::filesystem::copy_file(dir / "L.ZBL", dir / "library-named.ZBP");
  EXPECT_EQ(toJson(dir / "library-named.ZBP")["kind"], "library");

  writeBytes(dir / "other.ZBL", {'R', 'I', 'F', 'F', 0, 0});
  const CliResult r = runCli({"to-json", (dir / "other.ZBL").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Unsupported File"), std::string::npos);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(
      runCli({"to-json", (dir / "missing.ZBL").string()}).err.find("Failed to load Library file."),
      std::string::npos);
}
