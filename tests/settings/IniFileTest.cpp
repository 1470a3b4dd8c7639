#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings/IniFile.h"
#include "support/TempDir.h"

using namespace orv;
using orv::test::readText;
using orv::test::TempDir;
using orv::test::writeText;

TEST(IniFile, ReadsSectionsKeysAndDefaults) {
  IniFile ini;
  ini.parse(
      "; comment\r\n"
      "[Window]\r\n"
      "PosX = 120\r\n"
      "posy=-40\r\n"
      "\r\n"
      "[ library ]\n"
      "Path=/home/me/My Sounds/a=b.ZBL\n"
      "Saved=1\n");
  EXPECT_EQ(ini.getInt("Window", "PosX", 7), 120);
  EXPECT_EQ(ini.getInt("window", "PosY", 7), -40);  // names match without regard to case
  EXPECT_EQ(ini.getString("Library", "Path"), "/home/me/My Sounds/a=b.ZBL");
  EXPECT_EQ(ini.getInt("Library", "Saved", 0), 1);
  EXPECT_EQ(ini.getInt("Dial", "Type", 1), 1);  // missing key: default
  EXPECT_EQ(ini.getString("MIDI", "In", "none"), "none");
  EXPECT_FALSE(ini.has("Window", "Path"));  // keys belong to their own section
}

TEST(IniFile, IntegersReadTheirLeadingDigits) {
  IniFile ini;
  ini.parse(
      "[N]\na=12abc\nb=abc\nc=\nd=+5\ne=99999999999999999999\nf=-99999999999999999999\ng= 8 \n");
  EXPECT_EQ(ini.getInt("N", "a", 1), 12);
  EXPECT_EQ(ini.getInt("N", "b", 1), 0);
  EXPECT_EQ(ini.getInt("N", "c", 1), 0);
  EXPECT_EQ(ini.getInt("N", "d", 1), 5);
  EXPECT_EQ(ini.getInt("N", "e", 1), 2147483647);
  EXPECT_EQ(ini.getInt("N", "f", 1), -2147483647 - 1);
  EXPECT_EQ(ini.getInt("N", "g", 1), 8);
}

TEST(IniFile, FirstOfDuplicatesCountsAndStringsAreCut) {
  IniFile ini;
  ini.parse("[A]\nk=first\nk=second\n[A]\nk=third\n[B]\nlong=" + std::string(3000, 'x') + "\n");
  EXPECT_EQ(ini.getString("A", "k"), "first");
  EXPECT_EQ(ini.getString("B", "long").size(), 2047u);
}

TEST(IniFile, SettingKeepsEverythingElse) {
  IniFile ini;
  const std::string original =
      "; kept comment\n"
      "[Other]\n"
      "Colour=blue\n"
      "\n"
      "[Window]\n"
      "PosX=1\n"
      "Unknown=stays\n"
      "\n";
  ini.parse(original);
  ini.setInt("Window", "PosX", 300);
  ini.setInt("Window", "PosY", -2);
  ini.setString("MIDI", "In", "ORV10 MIDI 1");
  EXPECT_EQ(ini.text(),
            "; kept comment\n"
            "[Other]\n"
            "Colour=blue\n"
            "\n"
            "[Window]\n"
            "PosX=300\n"
            "Unknown=stays\n"
            "PosY=-2\n"
            "\n"
            "[MIDI]\n"
            "In=ORV10 MIDI 1\n");
}

TEST(IniFile, LineBreaksCannotInjectLines) {
  IniFile ini;
  EXPECT_FALSE(ini.setString("Library", "Path", "/tmp/x\n[Window]\nPosX=5"));
  EXPECT_TRUE(ini.setString("MIDI", "Out", "fine"));
  IniFile back;
  back.parse(ini.text());
  EXPECT_EQ(back.getString("Library", "Path", "default"), "");
  EXPECT_FALSE(back.has("Window", "PosX"));
}

TEST(IniFile, LoadAndSaveFiles) {
  TempDir dir;
  IniFile ini;
  EXPECT_FALSE(ini.load(dir / "missing.ini"));
  EXPECT_EQ(ini.getInt("A", "b", 3), 3);
  ini.setString("A", "b", "c");
  ASSERT_TRUE(ini.save(dir / "x.ini"));
  EXPECT_EQ(readText(dir / "x.ini"), "[A]\nb=c\n");
  EXPECT_FALSE(ini.save(dir / "no folder" / "x.ini"));
  EXPECT_FALSE(std::filesystem::exists(dir / "no folder"));
  writeText(dir / "y.ini", "[Q]\nr=s");  // no final line break
  ASSERT_TRUE(ini.load(dir / "y.ini"));
  EXPECT_EQ(ini.getString("Q", "r"), "s");
}

// The settings file may be a link to a file not made yet (dotfile managers make such links): it
// is written through. A pipe in its place is refused at once, read or written.
TEST(IniFile, SettingsGoThroughALinkButNeverIntoAPipe) {
  TempDir dir;
  std::filesystem::create_symlink("dotfiles/orv.ini", dir / "ORV Editor.ini");
  std::filesystem::create_directory(dir / "dotfiles");
  IniFile ini;
  ini.setString("A", "b", "c");
  ASSERT_TRUE(ini.save(dir / "ORV Editor.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "ORV Editor.ini"));
  EXPECT_EQ(readText(dir / "dotfiles" / "orv.ini"), "[A]\nb=c\n");

  const std::filesystem::path pipe = dir / "pipe.ini";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const pid_t child = fork();  // stopped after five seconds should it wait on the pipe
  if (child == 0) {
    alarm(5);
    std::error_code why;
    _exit(!ini.load(pipe, &why) && why && !ini.save(pipe) ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}
