#include <gtest/gtest.h>

#include "app/CommandLineOptions.h"

namespace orv {
namespace {

CommandLineOptions parse(QStringList args) {
  args.prepend(QStringLiteral("orv-editor"));
  return CommandLineOptions::parse(args);
}

TEST(CommandLineOptions, FileIsTheFirstArgumentThatIsNotAnOption) {
  auto o = parse({"--simulate", "Läuft ライブラリ.ZBL"});
  EXPECT_TRUE(o.error.isEmpty());
  EXPECT_EQ(o.file, QString::fromUtf8("Läuft ライブラリ.ZBL"));
  EXPECT_EQ(o.simulateModel, '1');

  o = parse({"--", "--looks-like-an-option.ZBP"});
  EXPECT_TRUE(o.error.isEmpty());
  EXPECT_EQ(o.file, "--looks-like-an-option.ZBP");

  o = parse({"first.ZBL", "--simulate", "second.ZBL"});
  EXPECT_TRUE(o.error.contains("'second.ZBL'")) << "the extra argument is named";

  o = parse({});
  EXPECT_TRUE(o.file.isEmpty());
  EXPECT_FALSE(o.simulateModel.has_value());
}

TEST(CommandLineOptions, ValuesAfterEqualsOrAsTheNextArgument) {
  auto o = parse({"--simulate=3", "--midi-api", "jack", "--screenshot=out.png", "lib.ZBL"});
  EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
  EXPECT_EQ(o.simulateModel, '3');
  EXPECT_EQ(o.midiApi, "jack");
  EXPECT_EQ(o.screenshot, "out.png");
  EXPECT_EQ(o.file, "lib.ZBL");

  o = parse({"--midi-api=alsa", "--screenshot", "a b.png"});
  EXPECT_EQ(o.midiApi, "alsa");
  EXPECT_EQ(o.screenshot, "a b.png");
  EXPECT_TRUE(o.file.isEmpty()) << "the screenshot's file is not the file to open";
}

TEST(CommandLineOptions, BadInputIsRefusedWithAReason) {
  for (const QStringList& bad :
       {QStringList{"--simulate=5"}, QStringList{"--simulate="}, QStringList{"--simulate=12"},
        QStringList{"--midi-api", "coreaudio"}, QStringList{"--midi-api"},
        QStringList{"--screenshot"}, QStringList{"--screenshot="}, QStringList{"--frobnicate"}}) {
    const auto o = parse(bad);
    EXPECT_FALSE(o.error.isEmpty()) << bad.join(' ').toStdString();
  }
}

TEST(CommandLineOptions, ScreenshotOfADialogNeedsAKnownNameAndAFile) {
  auto o = parse({"--simulate=4", "--screenshot", "find.png", "--dialog", "find"});
  EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
  EXPECT_EQ(o.screenshotDialog, "find");
  EXPECT_EQ(o.screenshot, "find.png");
  o = parse({"--screenshot=x.png", "--dialog=about"});
  EXPECT_TRUE(o.error.contains("'about'")) << o.error.toStdString();
  o = parse({"--dialog", "preferences"});
  EXPECT_TRUE(o.error.contains("--screenshot FILE")) << o.error.toStdString();
}

TEST(CommandLineOptions, HelpAndVersion) {
  EXPECT_TRUE(parse({"--help"}).help);
  EXPECT_TRUE(parse({"-h"}).help);
  EXPECT_EQ(parse({"-"}).file, "-") << "a lone dash is a file name";
  // The help lists every declared option as it is written.
  for (const char* shown : {"--simulate[=0..4]", "--midi-api <alsa|jack>", "--screenshot <FILE>",
                            "--list-ports", "-h, --help", "--version"})
    EXPECT_TRUE(CommandLineOptions::usage().contains(shown)) << shown;
  EXPECT_TRUE(parse({"--version"}).version);
  EXPECT_TRUE(parse({"--list-ports"}).listPorts);
  EXPECT_TRUE(CommandLineOptions::usage().contains("--simulate"));
}

}  // namespace
}  // namespace orv
