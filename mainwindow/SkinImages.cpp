#include "mainwindow/SkinImages.h"

#include <QHash>
#include <QImageReader>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "controls/ImageEx.h"
#include "controls/ImageExResource.h"
#include "skin/SkinPixels.h"

namespace orv {

namespace {

// The image from the ready pixels when the store has it, else decoded from its PNG resource.
QImage decode(int id) {
  if (QImage image = SkinImages::ready(id); !image.isNull()) return image;
  QImageReader reader(CImageExResource::ResourcePath(id), "png");
  QImage image = reader.read();
  if (image.isNull()) return image;
  const QImage::Format drawable =
      image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  return image.format() == drawable ? image : image.convertToFormat(drawable);
}

struct Cache {
  ~Cache() {
    for (std::thread& t : workers) t.join();
  }
  std::mutex mutex;
  QHash<int, std::shared_future<QImage>> images;
  std::vector<std::thread> workers;
};

Cache& cache() {
  static Cache c;
  return c;
}

}  // namespace

void SkinImages::preload(const std::vector<int>& ids) {
  // The images linked in as ready pixels are there at once. Those to decode go to two workers:
  // the first takes the first of them (the background, by far the largest), the second the rest.
  Cache& c = cache();
  std::lock_guard lock(c.mutex);
  std::vector<std::pair<int, std::promise<QImage>>> promises;
  for (int id : ids) {
    if (c.images.contains(id)) continue;
    std::promise<QImage> p;
    c.images.insert(id, p.get_future().share());
    if (QImage image = ready(id); !image.isNull())
      p.set_value(std::move(image));
    else
      promises.emplace_back(id, std::move(p));
  }
  if (promises.empty()) return;
  auto work = [](std::vector<std::pair<int, std::promise<QImage>>> jobs) {
    for (auto& [id, promise] : jobs) promise.set_value(decode(id));
  };
  std::vector<std::pair<int, std::promise<QImage>>> first;
  first.push_back(std::move(promises.front()));
  promises.erase(promises.begin());
  c.workers.emplace_back(work, std::move(first));
  if (!promises.empty()) c.workers.emplace_back(work, std::move(promises));
}

QImage SkinImages::ready(int id) {
  const std::optional<PixelImage> p = SkinPixels::find(id);
  if (!p) return {};
  return QImage(p->bits, p->width, p->height, p->bytesPerLine,
                p->alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QImage SkinImages::get(int id) {
  Cache& c = cache();
  std::shared_future<QImage> image;
  {
    std::lock_guard lock(c.mutex);
    auto it = c.images.constFind(id);
    if (it == c.images.constEnd()) {
      std::promise<QImage> p;
      p.set_value(decode(id));
      it = c.images.insert(id, p.get_future().share());
    }
    image = *it;
  }
  return image.get();
}

bool SkinImages::load(CImageEx& holder, int id) {
  const QImage image = get(id);
  holder.SetImage(image);
  return !image.isNull();
}

}  // namespace orv
