// The ready pixels linked into the program: the same pictures as the PNG resources, and a store
// that does not hold together gives nothing rather than pixels from outside it.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <vector>

#include "skin/ImageInventory.h"
#include "skin/SkinPixels.h"
#include "skin/SkinResources.h"

namespace orv {
namespace {

TEST(SkinPixels, MatchTheDecodedPngOfEveryImage) {
  SkinResources::init();
  for (const ImageInfo& info : ImageInventory::images()) {
    const std::optional<PixelImage> p = SkinPixels::find(info.id);
    ASSERT_TRUE(p) << info.id;
    const QImage::Format format =
        p->alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage ready(p->bits, p->width, p->height, p->bytesPerLine, format);
    const QImage png(QString::fromStdString(ImageInventory::resourcePath(info.id)));
    EXPECT_EQ(p->alpha, info.format == ImageFormat::Rgba) << info.id;
    EXPECT_EQ(ready, png.convertToFormat(format)) << info.id;
  }
  EXPECT_FALSE(SkinPixels::find(99999));
}

TEST(SkinPixels, HoldTheApplicationIconAsItsPngs) {
  SkinResources::init();
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::optional<PixelImage> p = SkinPixels::find(SkinPixels::applicationIcon(size));
    ASSERT_TRUE(p && p->alpha) << size;
    const QImage ready(p->bits, p->width, p->height, p->bytesPerLine,
                       QImage::Format_ARGB32_Premultiplied);
    const QImage png(QStringLiteral(":/icons/orv-editor-%1.png").arg(size));
    EXPECT_EQ(ready, png.convertToFormat(QImage::Format_ARGB32_Premultiplied)) << size;
  }
}

TEST(SkinPixels, RefuseAMalformedStore) {
  std::vector<unsigned char> blob(sizeof(SkinPixels::Header) + sizeof(SkinPixels::Entry) + 64);
  SkinPixels::Header header{};
  std::memcpy(header.magic, SkinPixels::kMagic, sizeof header.magic);
  header.count = 1;
  SkinPixels::Entry entry{7, 4, 4, 16, 0, 0, sizeof header + sizeof entry};
  auto store = [&] {
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, &entry, sizeof entry);
    return std::span<const unsigned char>(blob);
  };
  ASSERT_TRUE(SkinPixels::find(store(), 7));
  entry.height = 5;  // one row beyond the end
  EXPECT_FALSE(SkinPixels::find(store(), 7));
  entry = {7, 4, 4, 12, 0, 0, sizeof header + sizeof entry};  // rows shorter than the width
  EXPECT_FALSE(SkinPixels::find(store(), 7));
  header.count = 1000;  // more entries than the store holds
  EXPECT_FALSE(SkinPixels::find(store(), 7));
  header.count = 1;
  header.magic[0] = 'X';
  EXPECT_FALSE(SkinPixels::find(store(), 7));
}

}  // namespace
}  // namespace orv
