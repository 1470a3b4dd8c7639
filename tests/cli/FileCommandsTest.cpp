#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliTestSupport.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

using namespace orv;
using namespace orv::test;

namespace {

LibraryEntry richEntry() {
  LibraryEntry e;
  initPatch("Caf\xE9 Lead", e.data);
  e.data[patch::kAmpType] = 4;
  e.data[patch::kGain] = 55;
  e.data[patch::kCabinet] = 2;
  e.data[patch::kCompType] = patch::Rack;
  writeValue(e.data, 145, true, 300);  // Threshold
  e.data[149] = 1;                     // Ratio 1:4
  e.data[150] = 2;                     // Knee Hard
  e.data[patch::kCompOn] = patch::kOn;
  e.data[patch::kEffectType] = patch::Phaser;
  e.data[patch::kReverbType] = patch::Spring;
  e.data[193] = 40;
  e.modelCode = '2';
  e.header = {1, 3, 0, 3, 0};
  return e;
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(CliFiles, NewWritesTheLibraryNewMakesAndListShowsIt) {
  TempDir dir;
  const std::string lib = (dir / "New.ZBL").string();
  ASSERT_EQ(runCli({"new", lib}).status, 0);
  PatchData init;
  initPatch(std::nullopt, init);
  EXPECT_EQ(readBytes(lib), encodeLibrary(makeNewLibrary(init)));

  const CliResult list = runCli({"list", lib});
  EXPECT_EQ(list.status, 0);
  const auto rows = lines(list.out);
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows[0], "001 Empty");
  EXPECT_EQ(rows[99], "100 Empty");

  // An existing file is kept unless --force is given.
  writeBytes(lib, {1, 2, 3});
  const CliResult refused = runCli({"new", lib});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("already exists"), std::string::npos);
  EXPECT_EQ(readBytes(lib), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(runCli({"new", "--force", lib}).status, 0);
  EXPECT_EQ(readBytes(lib).size(), 26108u);
}

TEST(CliFiles, ShowPrintsEverySectionOfThePresentTypes) {
  TempDir dir;
  Library library = makeNewLibrary(PatchData{});
  library.slot(4) = richEntry();
  writeLibrary(library, dir / "L.ZBL");
  writePatchFile(richEntry(), dir / "P.ZBP");

  const CliResult fromLibrary = runCli({"show", (dir / "L.ZBL").string(), "5"});
  const CliResult fromFile = runCli({"show", (dir / "P.ZBP").string()});
  ASSERT_EQ(fromLibrary.status, 0) << fromLibrary.err;
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(fromLibrary.out, "Slot: 5\n" + fromFile.out);

  const auto out = lines(fromFile.out);
  EXPECT_EQ(out[0], "Name: Caf\xC3\xA9 Lead");  // Latin-1 name shown as UTF-8
  EXPECT_EQ(out[1], "Model byte: 32 ('2')");
  EXPECT_EQ(out[2], "Header: 01 03 00 03 00");
  for (const char* line :
       {"Amp: SOUTHERN HI", "  Gain: 5.5 (55)", "  Cabinet: Vintage 4x12 (2)",
        "Compressor: Rack, on", "  Threshold: -30.0dB (300)", "  Ratio: 1:4 (1)",
        "  Knee: Hard (2)", "  Output: -20.0dB (0)", "Effect: Phaser, off", "  Manual: 0.0 (0)",
        "Delay: Delay, off", "  High Cut: 1000Hz (1000)", "Reverb: Spring, off",
        "  Reverb: 4.0 (40)", "  Filter: 0.3 (3)", "Gate: off", "  Release: 0.0 (0)"})
    EXPECT_TRUE(contains(out, line)) << line << "\n" << fromFile.out;
  EXPECT_FALSE(contains(out, "  Sustain: 0.0 (0)"));  // Stomp parameters are not Rack's
  EXPECT_FALSE(contains(out, "  Pre Delay: 0.1ms (1)"));
}

TEST(CliFiles, ExportAndImportMoveOneSlotExactly) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string();
  ASSERT_EQ(runCli({"new", lib}).status, 0);
  writePatchFile(richEntry(), dir / "in.ZBP");

  ASSERT_EQ(runCli({"import", lib, "100", (dir / "in.ZBP").string()}).status, 0);
  Library library;
  readLibrary(library, lib);
  EXPECT_EQ(library.slot(99), richEntry());  // header, data and model byte as read
  EXPECT_EQ(patchName(library.slot(98).data), "Empty");

  ASSERT_EQ(runCli({"export", lib, "100", (dir / "out.ZBP").string()}).status, 0);
  EXPECT_EQ(readBytes(dir / "out.ZBP"), readBytes(dir / "in.ZBP"));
  EXPECT_EQ(dir.entries().size(), 3u);  // no temporary files left behind
}

TEST(CliFiles, FailuresPrintTheMessageAndChangeNothing) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string();
  ASSERT_EQ(runCli({"new", lib}).status, 0);
  const auto before = readBytes(lib);
  writeBytes(dir / "bad.ZBP", {'V', 'K', 'R', 'B', 0});

  const CliResult badImport = runCli({"import", lib, "1", (dir / "bad.ZBP").string()});
  EXPECT_EQ(badImport.status, 1);
  EXPECT_EQ(badImport.err, "orv-cli: Cannot use the selected Patch file. (Format error) (" +
                               (dir / "bad.ZBP").string() + ")\n");
  EXPECT_EQ(readBytes(lib), before);

  std::vector<uint8_t> longer = before;
  longer.push_back(0);
  writeBytes(dir / "long.ZBL", longer);
  const CliResult badList = runCli({"list", (dir / "long.ZBL").string()});
  EXPECT_EQ(badList.status, 1);
  EXPECT_TRUE(badList.out.empty());
  EXPECT_NE(badList.err.find(": Cannot use the selected Library file. (Format error) ("),
            std::string::npos);

  EXPECT_NE(runCli({"show", (dir / "none.ZBP").string()}).err.find("Failed to import Patch file."),
            std::string::npos);
  const CliResult unwritable = runCli({"export", lib, "1", "/proc/orv-cli-test.ZBP"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("Failed to export Patch file."), std::string::npos);
  const CliResult noFolder = runCli({"new", (dir / "no" / "x.ZBL").string()});
  EXPECT_NE(noFolder.err.find("Failed to write Library file."), std::string::npos);
}

TEST(CliFiles, FailuresNameThePathAndTheSystemsReason) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string(), missing = (dir / "none.ZBL").string();
  EXPECT_EQ(runCli({"list", missing}).err,
            "orv-cli: Failed to load Library file. (" + missing + ": No such file or directory)\n");
  EXPECT_EQ(
      runCli({"to-json", dir.path().string()}).err,
      "orv-cli: Failed to load Library file. (" + dir.path().string() + ": Is a directory)\n");
  ASSERT_EQ(runCli({"new", lib}).status, 0);
  std::filesystem::permissions(lib, std::filesystem::perms::owner_read);
  const CliResult readOnly = runCli({"import", lib, "1", (dir / "none.ZBP").string()});
  EXPECT_NE(readOnly.err.find("(" + (dir / "none.ZBP").string() + ": No such file or directory)"),
            std::string::npos);
  EXPECT_EQ(runCli({"new", "--force", lib}).err,
            "orv-cli: Failed to write Library file. (" + lib + ": Permission denied)\n");
}

// export and from-json replace an existing file only when asked to.
TEST(CliFiles, ExistingFilesAreReplacedOnlyWithForce) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string(), json = (dir / "P.json").string();
  ASSERT_EQ(runCli({"new", lib}).status, 0);
  const auto library = readBytes(lib);
  const CliResult refused = runCli({"export", lib, "1", lib});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "orv-cli: " + lib + ": already exists; remove it or pass --force to replace it\n");
  EXPECT_EQ(readBytes(lib), library);

  const std::string patch = (dir / "P.ZBP").string();
  ASSERT_EQ(runCli({"export", lib, "1", patch}).status, 0);
  writeText(json, runCli({"to-json", patch}).out);
  EXPECT_EQ(runCli({"from-json", json, lib}).status, 1);
  EXPECT_EQ(readBytes(lib), library);
  EXPECT_EQ(runCli({"from-json", json, "--force", lib}).status, 0);
  EXPECT_EQ(readBytes(lib), readBytes(patch));
  EXPECT_EQ(runCli({"export", "--force", (dir / "none.ZBL").string(), "1", patch}).status, 1);
  EXPECT_EQ(runCli({"export", lib, "1", patch, "--force", "--force"}).status, 2);
}

TEST(CliUsage, WrongUsageExitsTwoWithUsage) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string();
  ASSERT_EQ(runCli({"new", lib}).status, 0);
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"list"},
                                             {"list", lib, "extra"},
                                             {"show", lib, "0"},
                                             {"show", lib, "101"},
                                             {"show", lib, "1x"},
                                             {"export", lib, "-3", "x.ZBP"},
                                             {"new", "--forse", lib},
                                             {"format", "1011", "lots"},
                                             {"sysex"},
                                             {"sysex", "encode", "param", "256", "0", "0"},
                                             {"sysex", "encode", "setting", "0", "128"},
                                             {"sysex", "encode", "nonsense"},
                                             {"sysex", "decode", "F0", "4G"},
                                             {"sysex", "decode", "F00"}}) {
    const CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
    EXPECT_NE(r.err.find("orv-cli"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_EQ(dir.entries().size(), 1u);

  const CliResult help = runCli({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* name : {"list", "show", "new", "export", "import", "to-json", "from-json",
                           "format", "parse", "sysex encode", "sysex decode"})
    EXPECT_NE(help.out.find(std::string("  ") + name), std::string::npos) << name;
  const CliResult version = runCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("orv-cli ", 0), 0u);
  EXPECT_EQ(runCli({"show", "--help"}).status, 0);
}

// A command's help and its usage errors come from the options it declares.
TEST(CliUsage, CommandHelpAndErrorsFollowTheDeclaredOptions) {
  const CliResult help = runCli({"pull", "--help"});
  EXPECT_EQ(help.status, 0);
  const auto out = lines(help.out);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0],
            "usage: orv-cli pull [--force] [--port NAME] [--midi-api alsa|jack|any] OUT.ZBP");
  for (const char* option : {"  --force ", "  --port NAME ", "  --midi-api alsa|jack|any "})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  EXPECT_EQ(help.out.find("--seconds"), std::string::npos);  // monitor's, not pull's

  const CliResult wrong = runCli({"ports", "--seconds", "3"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.err,
            "orv-cli: unexpected argument '--seconds'\n"
            "usage: orv-cli ports [--midi-api alsa|jack|any]\n");
  const CliResult missing = runCli({"monitor", "--seconds"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("usage: orv-cli monitor"), std::string::npos);
}
