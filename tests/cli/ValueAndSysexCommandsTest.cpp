#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

using namespace orv;
using namespace orv::test;

TEST(CliValues, FormatAndParseByIdentifier) {
  EXPECT_EQ(runCli({"format", "1011", "300"}).out, "-30.0dB\n");
  EXPECT_EQ(runCli({"format", "1042", "155"}).out, "15s\n");
  EXPECT_EQ(runCli({"format", "1045", "16001"}).out, "Thru\n");
  EXPECT_EQ(runCli({"format", "1007", "3"}).out, "\n");
  EXPECT_EQ(runCli({"format", "1002", "-5"}).out, "-0.5\n");
  EXPECT_EQ(runCli({"parse", "1011", "-12.5"}).out, "475\n");  // a negative text, not an option
  EXPECT_EQ(runCli({"parse", "1037", "Thru"}).out, "16001\n");
  EXPECT_EQ(runCli({"parse", "1002", " 2.5 "}).out, "25\n");
  EXPECT_EQ(runCli({"parse", "1002", ".5dB"}).out, "5\n");
  EXPECT_EQ(runCli({"parse", "1037", "thru"}).status, 2);  // only "Thru" names the value
  EXPECT_EQ(runCli({"parse", "1002", ""}).status, 2);
}

TEST(CliSysex, EncodesEveryMessageTheEditorSends) {
  TempDir dir;
  EXPECT_EQ(runCli({"sysex", "encode", "param", "177", "2", "44"}).out,
            "F0 43 7D 10 41 30 01 31 02 2C F7\n");
  EXPECT_EQ(runCli({"sysex", "encode", "setting", "2", "4"}).out, "F0 43 7D 30 41 30 02 04 F7\n");
  EXPECT_EQ(runCli({"sysex", "encode", "dump-request"}).out,
            "F0 43 7D 20 56 4B 52 31 41 6C 6C 50 F7\n");
  EXPECT_EQ(runCli({"sysex", "encode", "settings-request"}).out,
            "F0 43 7D 20 56 4B 52 31 50 52 45 46 F7\n");

  // The dump of an all-zero patch: fixed head, 256 zero bytes, checksum 75.
  writePatchFile(LibraryEntry{}, dir / "zero.ZBP");
  const CliResult dump = runCli({"sysex", "encode", "dump", (dir / "zero.ZBP").string()});
  std::string expected = "F0 43 7D 00 02 0C 56 4B 52 31 41 6C 6C 50 00 00 7F 7F";
  for (int i = 0; i < 256; ++i) expected += " 00";
  EXPECT_EQ(dump.out, expected + " 75 F7\n");
  EXPECT_EQ(runCli({"sysex", "encode", "dump", (dir / "none.ZBP").string()}).status, 1);
}

TEST(CliSysex, DecodePrintsExactlyOneLine) {
  const auto decode = [](std::vector<std::string> bytes) {
    bytes.insert(bytes.begin(), {"sysex", "decode"});
    const CliResult r = runCli(bytes);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    return r.out;
  };
  EXPECT_EQ(decode({"F0 43 7D 60 56 4B 52 33 F7"}), "identity 33\n");
  EXPECT_EQ(decode({"F0", "43", "7D", "1F", "41", "30", "81", "00", "00", "64", "F7"}),
            "parameter 128 0 100\n");
  EXPECT_EQ(decode({"F0 43 7D 30 41 30 02 03 F7"}), "setting 515\n");
  EXPECT_EQ(decode({"F0 43 7D 10 41 30 02 01 00 00 F7"}), "rejected Invalid parameter address.\n");
  EXPECT_EQ(decode({"f0 43 7d 10 41 30 02 00 00 05 f7"}), "parameter 256 0 5\n");
  EXPECT_EQ(decode({"90 40 7F"}), "nothing\n");
  EXPECT_EQ(decode({}), "nothing\n");

  // A dump round trip, then the same dump with a wrong checksum.
  PatchData p;
  initPatch("Dump", p);
  TempDir dir;
  LibraryEntry e;
  e.data = p;
  writePatchFile(e, dir / "d.ZBP");
  const std::string message = runCli({"sysex", "encode", "dump", (dir / "d.ZBP").string()}).out;
  std::string expected = "dump";
  for (int i = 0; i < 256; ++i) {
    static const char* hex = "0123456789ABCDEF";
    expected += ' ';
    expected += hex[p[i] >> 4];
    expected += hex[p[i] & 15];
  }
  EXPECT_EQ(decode({message}), expected + "\n");
  std::string broken = message;
  const std::size_t checksumAt = broken.size() - 6;  // "XX F7\n"
  broken[checksumAt] = broken[checksumAt] == '0' ? '1' : '0';
  EXPECT_EQ(decode({broken}), "rejected Check sum error.\n");
}
