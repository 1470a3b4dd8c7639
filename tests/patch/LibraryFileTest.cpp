#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <functional>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "support/FailureOf.h"
#include "support/TempDir.h"

using namespace orv;
using orv::test::codeOf;
using orv::test::failureOf;
using orv::test::readBytes;
using orv::test::TempDir;
using orv::test::writeBytes;

namespace {

// A library whose every slot differs, with data byte 255 set so that its loss shows.
Library sampleLibrary() {
  Library lib;
  for (int i = 0; i < 100; ++i) {
    LibraryEntry e;
    for (std::size_t b = 0; b < 256; ++b) e.data[b] = static_cast<uint8_t>((b * 7 + i) & 0x7F);
    e.data[255] = 7;
    e.header = {uint8_t(i), 1, 2, 3, 0};
    e.modelCode = static_cast<uint8_t>(i % 2 ? '2' : 0xFF);
    lib.append(e);
  }
  return lib;
}

// Code and value of the failure a call raises ({0, 0}: none).
std::pair<int, int> codeAndValue(const std::function<void()>& f) {
  const CGenericException e = failureOf(f);
  return {e.code(), e.value()};
}

std::vector<uint8_t> validLibraryBytes() {
  return encodeLibrary(sampleLibrary());
}

void setCount(std::vector<uint8_t>& bytes, uint16_t count) {
  bytes[6] = static_cast<uint8_t>(count & 0xFF);
  bytes[7] = static_cast<uint8_t>(count >> 8);
}

}  // namespace

TEST(LibraryFile, WritesTheExactLayoutAndReadsItBack) {
  TempDir dir;
  Library lib = sampleLibrary();
  lib.setKeptBytes('A', 'z');
  writeLibrary(lib, dir / "lib.ZBL");
  const std::vector<uint8_t> bytes = readBytes(dir / "lib.ZBL");
  ASSERT_EQ(bytes.size(), 26108u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "VKRBAz");
  EXPECT_EQ(bytes[6], 100);
  EXPECT_EQ(bytes[7], 0);
  // Slot 3: header, data 0..254, then the model byte where data byte 255 would be.
  const std::size_t slot3 = 8 + 3 * 261;
  EXPECT_EQ(bytes[slot3], 3);
  EXPECT_EQ(bytes[slot3 + 5 + 10], lib.slot(3).data[10]);
  EXPECT_EQ(bytes[slot3 + 5 + 254], lib.slot(3).data[254]);
  EXPECT_EQ(bytes[slot3 + 260], '2');

  Library back;
  readLibrary(back, dir / "lib.ZBL");
  ASSERT_EQ(back.size(), 100u);
  EXPECT_EQ(back.header(), lib.header());
  for (std::size_t i = 0; i < 100; ++i) {
    LibraryEntry expected = lib.slot(i);
    expected.data[255] = 0;  // not stored: reads back as 0
    EXPECT_EQ(back.slot(i), expected) << i;
  }
}

TEST(LibraryFile, KeptBytesSurviveReadAndWrite) {
  TempDir dir;
  std::vector<uint8_t> bytes = validLibraryBytes();
  bytes[4] = 0x99;
  bytes[5] = 0x00;
  writeBytes(dir / "in.ZBL", bytes);
  Library lib;
  readLibrary(lib, dir / "in.ZBL");
  writeLibrary(lib, dir / "out.ZBL");
  EXPECT_EQ(readBytes(dir / "out.ZBL"), bytes);
}

TEST(LibraryFile, ChecksRunInOrderMagicSizeCount) {
  TempDir dir;
  const auto codeFor = [&](const std::vector<uint8_t>& bytes) {
    writeBytes(dir / "x.ZBL", bytes);
    Library lib;
    const CGenericException e = failureOf([&] { readLibrary(lib, dir / "x.ZBL"); });
    if (e.code()) {
      EXPECT_EQ(e.value(), 1);
      EXPECT_EQ(e.message(), (dir / "x.ZBL").string());
    }
    return e.code();
  };
  std::vector<uint8_t> good = validLibraryBytes();
  EXPECT_EQ(codeFor(good), 0);

  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(codeFor(longer), 302);
  EXPECT_EQ(codeFor(std::vector<uint8_t>(good.begin(), good.end() - 1)), 302);

  // A consistent size with a count other than 100 is a load failure, not a format error.
  std::vector<uint8_t> ninetyNine(good.begin(), good.begin() + 8 + 99 * 261);
  setCount(ninetyNine, 99);
  EXPECT_EQ(codeFor(ninetyNine), 300);
  std::vector<uint8_t> none(good.begin(), good.begin() + 8);
  setCount(none, 0);
  EXPECT_EQ(codeFor(none), 300);

  // Wrong size wins over wrong count; wrong magic wins over both.
  std::vector<uint8_t> badCount = good;
  setCount(badCount, 99);
  EXPECT_EQ(codeFor(badCount), 302);
  std::vector<uint8_t> patchMagic = ninetyNine;
  patchMagic[3] = 'P';
  EXPECT_EQ(codeFor(patchMagic), 302);

  EXPECT_EQ(codeFor({}), 302);
  EXPECT_EQ(codeFor({'V', 'K', 'R'}), 302);
  EXPECT_EQ(codeFor({'V', 'K', 'R', 'B', '0', '1', 100}), 302);
}

TEST(LibraryFile, FilesThatCannotBeOpenedAreLoadFailures) {
  TempDir dir;
  Library lib;
  EXPECT_EQ(codeAndValue([&] { readLibrary(lib, dir / "missing.ZBL"); }), std::make_pair(300, 1));
  EXPECT_EQ(codeOf([&] { readLibrary(lib, dir.path()); }), 300);
  LibraryEntry e;
  EXPECT_EQ(codeAndValue([&] { readPatchFile(e, dir / "missing.ZBP"); }), std::make_pair(303, 1));
  EXPECT_EQ(codeOf([&] { readPatchFile(e, dir.path()); }), 303);
}

TEST(LibraryFile, FailedReadLeavesTheTargetAsItWas) {
  TempDir dir;
  std::vector<uint8_t> bytes = validLibraryBytes();
  bytes.push_back(1);
  writeBytes(dir / "bad.ZBL", bytes);
  Library lib = sampleLibrary();
  const Library before = lib;
  EXPECT_EQ(codeOf([&] { readLibrary(lib, dir / "bad.ZBL"); }), 302);
  EXPECT_EQ(lib, before);

  writeBytes(dir / "bad.ZBP", {'V', 'K', 'R', 'B'});
  LibraryEntry entry = sampleLibrary().slot(5);
  const LibraryEntry entryBefore = entry;
  EXPECT_EQ(codeOf([&] { readPatchFile(entry, dir / "bad.ZBP"); }), 305);
  EXPECT_EQ(entry, entryBefore);
}

TEST(PatchFile, WritesTheExactLayoutAndReadsItBack) {
  TempDir dir;
  LibraryEntry e = sampleLibrary().slot(1);
  e.data[255] = 7;
  e.modelCode = '3';
  writePatchFile(e, dir / "p.ZBP");
  const std::vector<uint8_t> bytes = readBytes(dir / "p.ZBP");
  ASSERT_EQ(bytes.size(), 265u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "VKRP");
  EXPECT_TRUE(std::equal(e.header.begin(), e.header.end(), bytes.begin() + 4));
  EXPECT_TRUE(std::equal(e.data.bytes.begin(), e.data.bytes.end() - 1, bytes.begin() + 9));
  EXPECT_EQ(bytes[264], '3');

  LibraryEntry back;
  readPatchFile(back, dir / "p.ZBP");
  EXPECT_EQ(back.header, e.header);
  EXPECT_EQ(back.modelCode, '3');
  EXPECT_EQ(back.data[255], 0);
  EXPECT_TRUE(std::equal(e.data.bytes.begin(), e.data.bytes.end() - 1, back.data.bytes.begin()));
}

TEST(PatchFile, ShortFilesReadAsZeroAndLongFilesAreCut) {
  TempDir dir;
  std::vector<uint8_t> bytes = encodePatchFile(sampleLibrary().slot(9));
  std::vector<uint8_t> shortFile(bytes.begin(), bytes.begin() + 100);
  writeBytes(dir / "short.ZBP", shortFile);
  LibraryEntry e;
  e.data.bytes.fill(0x55);
  readPatchFile(e, dir / "short.ZBP");
  EXPECT_TRUE(std::equal(e.header.begin(), e.header.end(), bytes.begin() + 4));
  for (std::size_t i = 0; i <= 90; ++i) EXPECT_EQ(e.data[i], bytes[9 + i]) << i;
  for (std::size_t i = 91; i < 256; ++i) EXPECT_EQ(e.data[i], 0) << i;
  EXPECT_EQ(e.modelCode, 0);

  std::vector<uint8_t> longFile = bytes;
  longFile.insert(longFile.end(), 50, 0xEE);
  writeBytes(dir / "long.ZBP", longFile);
  LibraryEntry l;
  readPatchFile(l, dir / "long.ZBP");
  EXPECT_EQ(encodePatchFile(l), bytes);

  // Only the magic is checked: four bytes are a patch of zeros, three are a format error.
  writeBytes(dir / "four.ZBP", {'V', 'K', 'R', 'P'});
  readPatchFile(l, dir / "four.ZBP");
  EXPECT_EQ(l.modelCode, 0);
  writeBytes(dir / "three.ZBP", {'V', 'K', 'R'});
  EXPECT_EQ(codeAndValue([&] { readPatchFile(l, dir / "three.ZBP"); }), std::make_pair(305, 1));
}

TEST(LibraryFile, UnwritablePlacesFailWithoutLeavingAFile) {
  TempDir dir;
  const Library lib = sampleLibrary();
  const LibraryEntry e = lib.slot(0);
  // /proc refuses new files even to the superuser.
  EXPECT_EQ(codeAndValue([&] { writeLibrary(lib, "/proc/orv-test.ZBL"); }), std::make_pair(301, 1));
  EXPECT_EQ(codeAndValue([&] { writePatchFile(e, "/proc/orv-test.ZBP"); }), std::make_pair(304, 1));
  EXPECT_FALSE(std::filesystem::exists("/proc/orv-test.ZBL"));
  EXPECT_EQ(codeOf([&] { writeLibrary(lib, dir / "no" / "such" / "lib.ZBL"); }), 301);
  writeBytes(dir / "plain", {1});
  EXPECT_EQ(codeOf([&] { writePatchFile(e, dir / "plain" / "p.ZBP"); }), 304);
  // A folder in the way of the target is left alone.
  std::filesystem::create_directory(dir / "folder.ZBL");
  EXPECT_EQ(codeOf([&] { writeLibrary(lib, dir / "folder.ZBL"); }), 301);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ZBL"));
  EXPECT_EQ(dir.entries().size(), 2u);  // "plain" and "folder.ZBL": no temporary files left
}

TEST(LibraryFile, FailedSaveLeavesThePreviousFileIntact) {
  TempDir dir;
  const Library old = sampleLibrary();
  writeLibrary(old, dir / "lib.ZBL");
  writePatchFile(old.slot(2), dir / "p.ZBP");
  const std::vector<uint8_t> oldLibrary = readBytes(dir / "lib.ZBL");
  const std::vector<uint8_t> oldPatch = readBytes(dir / "p.ZBP");

  // Let writes fail part way: files may not grow beyond 200 bytes.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 200;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Library changed = old;
  changed.slot(0).data[0] = 'Z';
  const auto libraryFailure = codeAndValue([&] { writeLibrary(changed, dir / "lib.ZBL"); });
  const auto patchFailure = codeAndValue([&] { writePatchFile(changed.slot(0), dir / "p.ZBP"); });
  setrlimit(RLIMIT_FSIZE, &saved);

  EXPECT_EQ(libraryFailure, std::make_pair(301, 1));
  EXPECT_EQ(patchFailure, std::make_pair(304, 1));
  EXPECT_EQ(readBytes(dir / "lib.ZBL"), oldLibrary);
  EXPECT_EQ(readBytes(dir / "p.ZBP"), oldPatch);
  EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(LibraryFile, UnicodeAndLongPathsWork) {
  TempDir dir;
  const std::string longName(200, 'n');
  const std::filesystem::path folder = dir / "Bänke ☃ サウンド" / longName / longName;
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "Grüße.ZBL";
  const Library lib = sampleLibrary();
  writeLibrary(lib, path);
  Library back;
  readLibrary(back, path);
  EXPECT_EQ(back.header(), lib.header());
  EXPECT_EQ(fileKindOf(path), FileKind::Library);
}

TEST(LibraryFile, WritingThroughALinkKeepsTheLink) {
  TempDir dir;
  writeLibrary(sampleLibrary(), dir / "real.ZBL");
  std::filesystem::create_symlink(dir / "real.ZBL", dir / "link.ZBL");
  Library lib = sampleLibrary();
  lib.slot(0).data[0] = 'Q';
  writeLibrary(lib, dir / "link.ZBL");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ZBL"));
  Library back;
  readLibrary(back, dir / "real.ZBL");
  EXPECT_EQ(back.slot(0).data[0], 'Q');
}

TEST(LibraryFile, FilesAreRoutedByTheirExtensionInAnyCase) {
  EXPECT_EQ(fileKindOf("/a/b/Rock.ZBL"), FileKind::Library);
  EXPECT_EQ(fileKindOf("Lead.ZBP"), FileKind::Patch);
  EXPECT_EQ(fileKindOf("Rock.zbl"), FileKind::Library);
  EXPECT_EQ(fileKindOf("Rock.Zbp"), FileKind::Patch);
  EXPECT_EQ(fileKindOf("Rock.ZBL.bak"), FileKind::Unsupported);
  EXPECT_EQ(fileKindOf("ZBL"), FileKind::Unsupported);
}
