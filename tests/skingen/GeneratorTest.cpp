// The generator as a whole: the full inventory rendered reproducibly, checked, written out as
// PNG files with a resource list, and clear failures for outputs it cannot write.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ContactSheet.h"
#include "SkinGenerator.h"
#include "skin/ImageInventory.h"

namespace orv {
namespace {

class Generator : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { images_ = new SkinGenerator::Images(SkinGenerator::renderAll()); }
  static void TearDownTestSuite() {
    delete images_;
    images_ = nullptr;
  }
  static const SkinGenerator::Images& images() { return *images_; }

 private:
  static SkinGenerator::Images* images_;
};

SkinGenerator::Images* Generator::images_ = nullptr;

TEST_F(Generator, RendersTheWholeInventoryInItsFormats) {
  EXPECT_EQ(SkinGenerator::verify(images()), QString());
  for (const ImageInfo& s : ImageInventory::images()) {
    const QImage& img = images().at(s.id);
    EXPECT_EQ(img.format(),
              s.format == ImageFormat::Rgba ? QImage::Format_ARGB32 : QImage::Format_RGB32)
        << s.id;
  }
}

TEST_F(Generator, RenderingIsReproducible) {
  const SkinGenerator::Images again = SkinGenerator::renderAll();
  ASSERT_EQ(again.size(), images().size());
  for (const auto& [id, img] : images()) EXPECT_EQ(again.at(id), img) << id;
}

TEST_F(Generator, VerifyNamesWhatIsWrong) {
  SkinGenerator::Images missing = images();
  missing.erase(187);
  EXPECT_TRUE(SkinGenerator::verify(missing).contains("187"));
  SkinGenerator::Images wrongSize = images();
  wrongSize[190] = wrongSize[190].copy(0, 0, 42, 16);
  EXPECT_TRUE(SkinGenerator::verify(wrongSize).contains("190"));
  SkinGenerator::Images extra = images();
  extra[999] = QImage(1, 1, QImage::Format_RGB32);
  EXPECT_FALSE(SkinGenerator::verify(extra).isEmpty());
}

TEST_F(Generator, WritesEveryImageAndAResourceListOfThem) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString dir = tmp.filePath("png");
  QString error;
  ASSERT_TRUE(SkinGenerator::writePngs(images(), dir, error)) << error.toStdString();
  for (const ImageInfo& s : ImageInventory::images()) {
    const QImage back(QDir(dir).filePath(QString("%1.png").arg(s.id)));
    EXPECT_EQ(back.size(), QSize(s.width, s.height)) << s.id;
    EXPECT_EQ(back.convertToFormat(images().at(s.id).format()), images().at(s.id)) << s.id;
  }
  const QString qrc = tmp.filePath("skin.qrc");
  ASSERT_TRUE(SkinGenerator::writeQrc(images(), dir, qrc, error)) << error.toStdString();
  QFile f(qrc);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(text.contains("<qresource prefix=\"/png\">"));
  const QRegularExpression entry("<file alias=\"(\\d+)\\.png\">([^<]+)</file>");
  int count = 0;
  for (auto it = entry.globalMatch(text); it.hasNext(); ++count) {
    const auto m = it.next();
    EXPECT_NE(ImageInventory::find(m.captured(1).toInt()), nullptr);
    EXPECT_TRUE(QFile::exists(m.captured(2))) << m.captured(2).toStdString();
  }
  EXPECT_EQ(count, ImageInventory::kImageCount);
}

// Each icon is a file of the hicolor theme at its size, with something drawn in it, and the
// resource list names the application icon at every size.
TEST_F(Generator, WritesTheIconsAsAThemeAndListsTheApplicationIcon) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  QString error;
  ASSERT_TRUE(SkinGenerator::writeIcons(tmp.filePath("icons"), error)) << error.toStdString();
  for (const char* icon : {"apps/orv-editor", "mimetypes/application-x-orv-library",
                           "mimetypes/application-x-orv-patch"}) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
      const QString path = tmp.filePath(QString("icons/hicolor/%1x%1/%2.png").arg(size).arg(icon));
      const QImage img(path);
      ASSERT_EQ(img.size(), QSize(size, size)) << path.toStdString();
      EXPECT_TRUE(img.hasAlphaChannel());
      EXPECT_NE(img.pixelColor(size / 2, size / 2).alpha(), 0) << path.toStdString();
      EXPECT_EQ(img.pixelColor(0, 0).alpha(), 0) << "a transparent corner: " << path.toStdString();
    }
  }
  const QString qrc = tmp.filePath("skin.qrc");
  ASSERT_TRUE(
      SkinGenerator::writeQrc(images(), tmp.filePath("png"), qrc, error, tmp.filePath("icons")));
  QFile f(qrc);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(text.contains("<qresource prefix=\"/icons\">"));
  EXPECT_TRUE(text.contains(QString("<file alias=\"orv-editor-256.png\">%1</file>")
                                .arg(tmp.filePath("icons/hicolor/256x256/apps/orv-editor.png"))));
}

TEST_F(Generator, ReportsOutputsItCannotWrite) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString file = tmp.filePath("plain-file");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QString error;
  EXPECT_FALSE(SkinGenerator::writePngs(images(), file + "/png", error));
  EXPECT_TRUE(error.contains("plain-file"));
  error.clear();
  EXPECT_FALSE(SkinGenerator::writeQrc(images(), tmp.path(), file + "/skin.qrc", error));
  EXPECT_TRUE(error.contains("skin.qrc"));
  error.clear();
  EXPECT_FALSE(SkinGenerator::writeIcons(file + "/icons", error));
  EXPECT_TRUE(error.contains("plain-file"));
}

TEST_F(Generator, PreviewsAssembleWholePanels) {
  for (char model : {'0', '1', '2', '3', '4'}) {
    const QImage preview = ContactSheet::panelPreview(images(), model);
    EXPECT_EQ(preview.size(), QSize(800, 600)) << model;
  }
  // The controls are drawn over the background.
  EXPECT_NE(ContactSheet::panelPreview(images(), '3'),
            images().at(241).convertToFormat(QImage::Format_RGB32));
  const QImage sheet = ContactSheet::compose(images());
  EXPECT_GE(sheet.width(), 3 * 800);
  EXPECT_GE(sheet.height(), 2 * 600);
}

}  // namespace
}  // namespace orv
