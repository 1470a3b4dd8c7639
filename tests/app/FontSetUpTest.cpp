// The font configuration read on its own thread at start-up is the one the process then works
// with. fontconfig keeps one configuration per process, so the check runs in a fresh process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/FontSetUp.h"

#if ORV_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace orv {
namespace {

TEST(FontSetUpTest, EndingWithoutWaitingAndWaitingTwiceAreSafe) {
  { FontSetUp unused; }  // ended without waiting: the thread is joined, nothing is left behind
  FontSetUp fonts;
  fonts.wait();
  EXPECT_NO_THROW(fonts.wait()) << "a second wait returns at once";
}

#if ORV_HAVE_FONTCONFIG

// Whether fontconfig's current configuration lists `folder` among its font folders.
bool currentConfigurationHasFolder(const std::string& folder) {
  FcStrList* dirs = FcConfigGetFontDirs(FcConfigGetCurrent());
  bool found = false;
  while (FcChar8* d = FcStrListNext(dirs))
    found = found || folder == reinterpret_cast<const char*>(d);
  FcStrListDone(dirs);
  return found;
}

// The child half of the test below. Started with these variables, the test program does the
// check as it loads, before Qt or anything else has read a font configuration, and ends with the
// result: the configuration named when the set-up starts is read on the thread and is the one in
// force after a later change of the name.
[[maybe_unused]] const int kChildCheck = [] {
  const char* first = std::getenv("ORV_TEST_FONTS_FIRST");
  const char* later = std::getenv("ORV_TEST_FONTS_LATER");
  if (!first || !later) return 0;
  setenv("FONTCONFIG_FILE", (std::string(first) + "/fonts.conf").c_str(), 1);
  {
    FontSetUp fonts;
    fonts.wait();
  }
  setenv("FONTCONFIG_FILE", (std::string(later) + "/fonts.conf").c_str(), 1);
  const bool firstInForce = currentConfigurationHasFolder(std::string(first) + "/fonts");
  const bool laterInForce = currentConfigurationHasFolder(std::string(later) + "/fonts");
  std::fprintf(stderr, "first configuration in force: %d, later one: %d\n", firstInForce,
               laterInForce);
  std::_Exit(firstInForce && !laterInForce ? 0 : 1);
}();

// A configuration in `folder` whose only font folder is `folder`/fonts.
void writeConfiguration(const QString& folder) {
  QDir(folder).mkpath(QStringLiteral("fonts"));
  QFile conf(folder + QStringLiteral("/fonts.conf"));
  ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
  conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1/fonts</dir>"
                            "<cachedir>%1/cache</cachedir></fontconfig>\n")
                 .arg(folder)
                 .toUtf8());
}

TEST(FontSetUpTest, TheConfigurationReadOnTheThreadIsTheOneInForce) {
  QTemporaryDir first, later;
  writeConfiguration(first.path());
  writeConfiguration(later.path());
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ORV_TEST_FONTS_FIRST"), first.path());
  env.insert(QStringLiteral("ORV_TEST_FONTS_LATER"), later.path());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {});
  ASSERT_TRUE(child.waitForFinished(60000)) << "the child did not end";
  const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
  EXPECT_EQ(child.exitCode(), 0) << output;
}

#endif

}  // namespace
}  // namespace orv
