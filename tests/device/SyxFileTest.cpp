#include <gtest/gtest.h>
#include <sys/stat.h>

#include "device/SysexCodec.h"
#include "device/SyxFile.h"
#include "patch/GenericException.h"
#include "support/FailureOf.h"
#include "support/TempDir.h"

using namespace orv;
using orv::test::readBytes;
using orv::test::TempDir;
using orv::test::writeBytes;

namespace {

std::vector<PatchData> somePatches() {
  std::vector<PatchData> patches(3);
  for (std::size_t i = 0; i < patches.size(); ++i) {
    initPatch("Syx " + std::to_string(i), patches[i]);
    patches[i][patch::kGain] = static_cast<uint8_t>(40 + i);
    patches[i][200] = 0x7F;
  }
  return patches;
}

}  // namespace

using orv::test::codeOf;

TEST(SyxFile, WrittenPatchesReadBackIdenticalAsOneDumpEach) {
  TempDir dir;
  const std::vector<PatchData> patches = somePatches();
  writeSyxFile(patches, dir / "out.syx");
  const std::vector<uint8_t> bytes = readBytes(dir / "out.syx");
  ASSERT_EQ(bytes.size(), 3u * 276);
  // The all-zero header bytes, the checksum position and F7 of the first dump, as on the wire.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6),
            (std::vector<uint8_t>{0xF0, 0x43, 0x7D, 0x00, 0x02, 0x0C}));
  EXPECT_EQ(bytes[275], 0xF7);
  EXPECT_EQ(bytes[276], 0xF0);

  const SyxContents read = readSyxFile(dir / "out.syx");
  EXPECT_EQ(read.patches, patches);
  EXPECT_EQ(read.foreignMessages, 0u);
  EXPECT_TRUE(isSyxFile(dir / "X.SYX"));
  EXPECT_FALSE(isSyxFile(dir / "X.ZBP"));
}

TEST(SyxFile, ForeignMessagesAreSkippedAndCountedBrokenDumpsRefuseTheFile) {
  const std::vector<PatchData> patches = somePatches();
  std::vector<uint8_t> bytes = encodeSyx(patches);
  const std::vector<uint8_t> identity = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
  const std::vector<uint8_t> ourRequest = sysex::encodeDumpRequest();
  bytes.insert(bytes.begin() + 276, identity.begin(), identity.end());
  bytes.insert(bytes.end(), ourRequest.begin(), ourRequest.end());
  const SyxContents read = decodeSyx(bytes);
  EXPECT_EQ(read.patches, patches);
  EXPECT_EQ(read.foreignMessages, 2u);

  std::vector<uint8_t> badChecksum = encodeSyx(patches);
  badChecksum[276 + 274] ^= 0x01;
  std::vector<uint8_t> shortDump = encodeSyx(patches);
  shortDump.erase(shortDump.begin() + 100);
  std::vector<uint8_t> unterminated = encodeSyx(patches);
  unterminated.pop_back();
  for (const auto& broken : {badChecksum, shortDump, unterminated, identity})
    EXPECT_EQ(codeOf([&] { decodeSyx(broken); }), 305);

  TempDir dir;
  EXPECT_EQ(codeOf([&] { readSyxFile(dir / "missing.syx"); }), 303);
  ASSERT_EQ(mkfifo((dir / "pipe.syx").c_str(), 0600), 0);
  EXPECT_EQ(codeOf([&] { readSyxFile(dir / "pipe.syx"); }), 303) << "refused, not waited on";
  EXPECT_EQ(codeOf([&] { writeSyxFile(patches, dir.path()); }), 304);
}
