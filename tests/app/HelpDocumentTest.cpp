#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/HelpDocument.h"
#include "support/FailureOf.h"

namespace orv {
namespace {

using test::codeOf;

TEST(HelpDocument, OpensTheDocumentOfTheUsersLanguage) {
  QTemporaryDir dir;
  for (const char* name : {"ORV_Editor_en.pdf", "ORV_Editor_jp.pdf"}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QList<QUrl> opened;
  auto opener = [&](const QUrl& u) {
    opened << u;
    return true;
  };
  HelpDocument::open(dir.path(), QLocale::Japanese, opener);
  HelpDocument::open(dir.path(), QLocale::German, opener);
  HelpDocument::open(dir.path(), QLocale::English, opener);
  ASSERT_EQ(opened.size(), 3);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.filePath("ORV_Editor_jp.pdf")));
  EXPECT_EQ(opened[1], QUrl::fromLocalFile(dir.filePath("ORV_Editor_en.pdf")));
  EXPECT_EQ(opened[2], opened[1]);
}

// In the build the documents lie beside the program; installed, in its data folder.
TEST(HelpDocument, LooksInEachFolderInTurn) {
  QTemporaryDir bin, data;
  QFile f(data.filePath("ORV_Editor_jp.pdf"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  QList<QUrl> opened;
  HelpDocument::open(QStringList{bin.path(), data.path()}, QLocale::Japanese, [&](const QUrl& u) {
    opened << u;
    return true;
  });
  EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(data.filePath("ORV_Editor_jp.pdf"))});
  EXPECT_EQ(codeOf([&] {
              HelpDocument::open(QStringList{bin.path(), data.path()}, QLocale::English,
                                 [](const QUrl&) { return true; });
            }),
            311);
  const QStringList dirs = HelpDocument::directories();
  ASSERT_EQ(dirs.size(), 2);
  EXPECT_TRUE(dirs[1].endsWith("/share/orv-editor"));
}

TEST(HelpDocument, MissingFileAndMissingReaderAreReported) {
  QTemporaryDir dir;
  bool called = false;
  EXPECT_EQ(codeOf([&] {
              HelpDocument::open(dir.path(), QLocale::English, [&](const QUrl&) {
                called = true;
                return true;
              });
            }),
            311);
  EXPECT_FALSE(called) << "nothing is launched for a file that is not there";

  QFile f(dir.filePath("ORV_Editor_en.pdf"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_EQ(codeOf([&] {
              HelpDocument::open(dir.path(), QLocale::English, [](const QUrl&) { return false; });
            }),
            310);
}

}  // namespace
}  // namespace orv
