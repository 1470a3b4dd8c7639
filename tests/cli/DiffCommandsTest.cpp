#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

using namespace orv;
using namespace orv::test;

namespace {

// A library whose slot 3 holds "Crunch" with the gain at 5.0; slot 4 the same with 7.5.
struct DiffFiles {
  TempDir dir;
  std::string lib = (dir / "L.ZBL").string(), patch = (dir / "Crunch.ZBP").string(),
              json = (dir / "Crunch.json").string();

  DiffFiles() {
    PatchData p;
    initPatch("Crunch", p);
    p[patch::kGain] = 50;
    Library library = makeNewLibrary(p);
    for (std::size_t i = 0; i < library.size(); ++i) library.slot(i).modelCode = '1';
    library.slot(3).data[patch::kGain] = 75;
    writeLibrary(library, lib);
    writePatchFile(library.slot(2), patch);
    writeText(json, runCli({"to-json", patch}).out);
  }
};

}  // namespace

TEST(CliDiff, SamePatchInEveryFormExitsZero) {
  DiffFiles f;
  const CliResult r = runCli({"diff", f.patch, f.lib + ":3"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "No differences: " + f.patch + " and " + f.lib + ":3 hold the same sound and name.\n");
  EXPECT_EQ(runCli({"diff", f.json, f.patch}).status, 0);
  EXPECT_EQ(runCli({"diff", f.lib + ":1", f.lib + ":100"}).status, 0);
}

TEST(CliDiff, DifferentPatchesListTheKnobAndExitOne) {
  DiffFiles f;
  const CliResult r = runCli({"diff", f.json, f.lib + ":4"});
  EXPECT_EQ(r.status, 1) << r.err;
  const std::vector<std::string> expected = {
      "SECTION  PARAMETER  " + f.json + "  " + f.lib + ":4",
      "Amp      Gain       5.0" + std::string(f.json.size() - 1, ' ') + "7.5",
  };
  EXPECT_EQ(lines(r.out), expected);
  EXPECT_EQ(r.err, "");

  const CliResult j = runCli({"diff", "--json", f.lib + ":4", f.patch});
  EXPECT_EQ(j.status, 1) << j.err;
  const auto json = nlohmann::json::parse(j.out);
  EXPECT_EQ(json["same"], false);
  EXPECT_EQ(json["differences"],
            nlohmann::json::parse(
                R"([{"section": "Amp", "parameter": "Gain", "a": "7.5", "b": "5.0"}])"));
}

// Every failure exits 2, which no answer uses, with the reason on standard error.
TEST(CliDiff, UnreadableOrUnsuitableInputExitsTwo) {
  DiffFiles f;
  writeText(f.dir / "notes.txt", "not a patch");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"diff", f.patch, (f.dir / "missing.ZBP").string()}, "missing.ZBP: cannot be read"},
      {{"diff", (f.dir / "notes.txt").string(), f.patch}, "notes.txt: neither a patch file"},
      {{"diff", f.lib, f.patch}, "is a library: name one of its slots"},
      {{"diff", f.patch, f.lib + ":101"}, "SLOT must be a number from 1 to 100, not '101'"},
      {{"diff", f.patch + ":2", f.patch}, "is a patch file and has no slots"},
      {{"diff", f.patch}, "B is required"},
  };
  for (const auto& c : cases) {
    const CliResult r = runCli(c.args);
    EXPECT_EQ(r.status, 2) << c.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << c.err;
  }
}
