#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

using namespace orv;
using namespace orv::test;

namespace {

Library numberedLibrary() {
  PatchData empty;
  initPatch(std::nullopt, empty);
  Library library = makeNewLibrary(empty);
  for (std::size_t i = 0; i < 100; ++i) {
    initPatch("Sound " + std::to_string(i + 1), library.slot(i).data);
    library.slot(i).modelCode = '2';
  }
  return library;
}

}  // namespace

TEST(CliLibrary, SyxExportAndImportMoveTheChosenSlotsIntoConsecutiveSlots) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string(), syx = (dir / "ten.syx").string(),
                    target = (dir / "T.ZBL").string();
  const Library source = numberedLibrary();
  writeLibrary(source, lib);
  std::vector<std::string> args = {"syx-export", lib, syx};
  for (int slot = 11; slot <= 20; ++slot) args.push_back(std::to_string(slot));
  ASSERT_EQ(runCli(args).status, 0);
  EXPECT_EQ(readBytes(syx).size(), 10u * 276);
  EXPECT_EQ(runCli(args).status, 1);  // an existing file needs --force

  ASSERT_EQ(runCli({"new", target}).status, 0);
  const CliResult imported = runCli({"syx-import", target, "91", syx});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "10 patches into slots 91..100, 0 other messages skipped\n");
  Library read;
  readLibrary(read, target);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(read.slot(90 + i).data, source.slot(10 + i).data);
    EXPECT_EQ(read.slot(90 + i).modelCode, 0xFF);  // no amplifier known
  }
  EXPECT_EQ(patchName(read.slot(89).data), "Empty");

  // Ten patches do not fit from slot 92 on: the library stays as it was.
  const std::vector<uint8_t> before = readBytes(target);
  EXPECT_EQ(runCli({"syx-import", target, "92", syx}).status, 1);
  EXPECT_EQ(readBytes(target), before);
}

TEST(CliLibrary, RenameMoveAndCopyRewriteTheLibraryRefusalsKeepIt) {
  TempDir dir;
  const std::string lib = (dir / "L.ZBL").string();
  writeLibrary(numberedLibrary(), lib);
  ASSERT_EQ(runCli({"rename", lib, "1", "Warm Clean"}).status, 0);
  ASSERT_EQ(runCli({"move", lib, "1", "3"}).status, 0);
  ASSERT_EQ(runCli({"copy", lib, "3", "100"}).status, 0);
  const auto rows = lines(runCli({"list", lib}).out);
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows[0], "001 Sound 2");
  EXPECT_EQ(rows[1], "002 Sound 3");
  EXPECT_EQ(rows[2], "003 Warm Clean");
  EXPECT_EQ(rows[3], "004 Sound 4");
  EXPECT_EQ(rows[99], "100 Warm Clean");

  const std::vector<uint8_t> before = readBytes(lib);
  const CliResult badName = runCli({"rename", lib, "2", "Caf\xC3\xA9"});
  EXPECT_EQ(badName.status, 1);
  EXPECT_EQ(badName.err, "orv-cli: Unsupported Characters.\n");
  EXPECT_EQ(runCli({"move", lib, "1", "101"}).status, 2);
  EXPECT_EQ(readBytes(lib), before);
}
