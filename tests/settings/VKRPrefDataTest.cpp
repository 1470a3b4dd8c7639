#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "settings/IniFile.h"
#include "settings/VKRPrefData.h"
#include "support/AsUser.h"
#include "support/TempDir.h"

using namespace orv;
using orv::test::readText;
using orv::test::TempDir;
using orv::test::writeText;

namespace {
// Points the configuration folder at a scratch folder for the test's lifetime.
struct ScratchConfig {
  TempDir dir;
  ScratchConfig() { setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1); }
  ~ScratchConfig() { unsetenv("XDG_CONFIG_HOME"); }
  std::filesystem::path folder() const { return dir / "TAVOLIN" / "ORV Editor" / "config"; }
};
}  // namespace

TEST(Settings, FirstStartCreatesTheFolderAndGivesDefaults) {
  ScratchConfig config;
  EXPECT_EQ(CVKRPrefData::configFolder(), config.folder() / "");
  EXPECT_TRUE(std::filesystem::is_directory(config.folder()));
  EXPECT_EQ(CVKRPrefData::settingsFile(), config.folder() / "ORV Editor.ini");

  CVKRPrefData prefs;
  prefs.setPosition(5, 5);
  prefs.read();
  EXPECT_EQ(prefs.posX(), 0);
  EXPECT_EQ(prefs.posY(), 0);
  EXPECT_EQ(prefs.libraryPath(), "");
  EXPECT_EQ(prefs.midiIn(), "");
  EXPECT_EQ(prefs.midiOut(), "");
  EXPECT_EQ(prefs.dialType(), 1);  // circular
  EXPECT_EQ(prefs.saved(), 0);     // start-up will ask for the preset library
  // A new record (not read) has every number 0.
  EXPECT_EQ(CVKRPrefData().dialType(), 0);
}

TEST(Settings, FolderFallsBackToHomeAndThenToTheBareName) {
  TempDir home;
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", home.path().c_str(), 1);
  EXPECT_EQ(CVKRPrefData::configFolder(),
            home / ".config" / "TAVOLIN" / "ORV Editor" / "config" / "");

  setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ignored
  EXPECT_EQ(CVKRPrefData::configFolder(),
            home / ".config" / "TAVOLIN" / "ORV Editor" / "config" / "");

  // A file where the folder should be: no folder, the bare file name.
  writeText(home / "blocked", "x");
  setenv("XDG_CONFIG_HOME", (home / "blocked").c_str(), 1);
  EXPECT_TRUE(CVKRPrefData::configFolder().empty());
  EXPECT_EQ(CVKRPrefData::settingsFile(), std::filesystem::path("ORV Editor.ini"));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_EQ(CVKRPrefData::settingsFile(), std::filesystem::path("ORV Editor.ini"));
  setenv("HOME", oldHome.c_str(), 1);
}

TEST(Settings, WritesAllSevenKeysAndKeepsOthers) {
  ScratchConfig config;
  std::filesystem::create_directories(config.folder());
  writeText(config.folder() / "ORV Editor.ini",
            "[Window]\nPosX=9\nMaximised=1\n[Extra]\nNote=keep me\n");
  CVKRPrefData prefs;
  prefs.read();
  EXPECT_EQ(prefs.posX(), 9);
  prefs.setLibraryPath("/home/me/Sounds/Live Set.ZBL");
  prefs.setMidiIn("ORV10 MIDI 1");
  prefs.setSaved(1);
  ASSERT_TRUE(prefs.write());

  IniFile ini;
  ASSERT_TRUE(ini.load(config.folder() / "ORV Editor.ini"));
  EXPECT_EQ(ini.getString("Window", "PosX"), "9");
  EXPECT_EQ(ini.getString("Window", "PosY"), "0");
  EXPECT_EQ(ini.getString("Library", "Path"), "/home/me/Sounds/Live Set.ZBL");
  EXPECT_EQ(ini.getString("MIDI", "In"), "ORV10 MIDI 1");
  EXPECT_TRUE(ini.has("MIDI", "Out"));
  EXPECT_EQ(ini.getString("Dial", "Type"), "1");
  EXPECT_EQ(ini.getString("Library", "Saved"), "1");
  EXPECT_EQ(ini.getString("Window", "Maximised"), "1");
  EXPECT_EQ(ini.getString("Extra", "Note"), "keep me");

  CVKRPrefData back;
  back.read();
  EXPECT_EQ(back, prefs);
}

TEST(Settings, LongAndUnicodePaths) {
  ScratchConfig config;
  CVKRPrefData prefs;
  const std::string unicode = "/home/zoë/Klänge ☃/ライブラリ.ZBL";
  prefs.setLibraryPath(unicode);
  ASSERT_TRUE(prefs.write());
  CVKRPrefData back;
  back.read();
  EXPECT_EQ(back.libraryPath(), unicode);

  // A path longer than 2047 characters is cut when read.
  std::filesystem::create_directories(config.folder());
  writeText(CVKRPrefData::settingsFile(), "[Library]\nPath=/" + std::string(3000, 'p') + "\n");
  back.read();
  EXPECT_EQ(back.libraryPath().size(), 2047u);
  prefs.setMidiOut(std::string(5000, 'o'));
  EXPECT_EQ(prefs.midiOut().size(), 2047u);
}

TEST(Settings, CopiesAreIndependentAndTheRecordIsShared) {
  CVKRPrefData& record = CVKRPrefData::instance();
  EXPECT_EQ(&record, &CVKRPrefData::instance());
  CVKRPrefData copy = record;
  copy.setSaved(1);
  copy.setDialType(0);
  copy.setMidiOut("Out");
  EXPECT_NE(copy, record);
  record = copy;
  EXPECT_EQ(CVKRPrefData::instance().midiOut(), "Out");
}

TEST(Settings, UnwritableFileIsNotFatalAndLeavesNoTrace) {
  TempDir dir;
  CVKRPrefData prefs;
  prefs.setSaved(1);
  EXPECT_FALSE(prefs.write(dir / "missing" / "ORV Editor.ini"));
  EXPECT_FALSE(prefs.write("/proc/ORV Editor.ini"));
  EXPECT_TRUE(dir.entries().empty());
  prefs.read(dir / "missing" / "ORV Editor.ini");  // unreadable: defaults
  EXPECT_EQ(prefs.saved(), 0);
  EXPECT_EQ(prefs.dialType(), 1);
}

// A settings file that is there but cannot be read keeps everything it holds: closing writes
// nothing over it and says why on standard error.
TEST(Settings, UnreadableFileIsLeftAloneAndSaysSo) {
  TempDir dir;
  const std::filesystem::path file = dir / "ORV Editor.ini";
  writeText(file, "[Theirs]\nKeep=1\n");
  ASSERT_EQ(chmod(file.c_str(), 0200), 0);  // writable, not readable
  test::giveToTestUser(dir.path());

  EXPECT_TRUE(test::asOrdinaryUser([&] {
    std::ostringstream err;
    std::streambuf* const saved = std::cerr.rdbuf(err.rdbuf());
    CVKRPrefData prefs;
    prefs.setSaved(1);
    const bool written = prefs.write(file);
    std::cerr.rdbuf(saved);
    return !written && err.str().find(file.string() + ": Permission denied") != std::string::npos;
  }));
  chmod(file.c_str(), 0600);
  EXPECT_EQ(readText(file), "[Theirs]\nKeep=1\n");
}

// A file with lines that are no part of the format: what can be read is read; closing keeps the
// old file as ".bak", writes the settings without the damage, and says so once.
TEST(Settings, DamagedFileIsReadAsFarAsItGoesAndKeptAsABackup) {
  TempDir dir;
  const std::filesystem::path file = dir / "ORV Editor.ini";
  const std::string damaged = "[MIDI]\nIn=ORV5\n\x01\x7f garbage\n[Dial\nType=0\n[X]\nNote=1\n";
  writeText(file, damaged);
  CVKRPrefData prefs;
  prefs.read(file);
  EXPECT_EQ(prefs.midiIn(), "ORV5");
  std::ostringstream err;
  std::streambuf* const saved = std::cerr.rdbuf(err.rdbuf());
  const bool written = prefs.write(file);
  std::cerr.rdbuf(saved);
  ASSERT_TRUE(written);
  EXPECT_EQ(readText(dir / "ORV Editor.ini.bak"), damaged);
  const std::string said = err.str();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(readText(file),
            "[MIDI]\nIn=ORV5\nType=0\nOut=\n[X]\nNote=1\n[Window]\nPosX=0\nPosY=0\n"
            "[Library]\nPath=\nSaved=0\n[Dial]\nType=1\n");
}
