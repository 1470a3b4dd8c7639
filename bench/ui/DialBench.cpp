// Drawing the panel's 30 knobs onto the main window's 800 x 600 back buffer, and one knob.
// Uses strips of the real art's sizes (the real art when the skin is linked in and loads).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchReport.h"
#include "controls/VKRDial.h"
#if __has_include("skin/SkinResources.h")
#include "skin/SkinResources.h"
#define ORV_BENCH_WITH_SKIN 1
#endif

namespace {

using orv::CVKRDial;

// A strip of `frames` frames with a shaded disc and a pointer, like the art.
QImage SyntheticStrip(int width, int frameHeight, int frames) {
  QImage strip(width, frameHeight * frames, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int k = 0; k < frames; ++k) {
    p.save();
    p.translate(width / 2.0, k * frameHeight + frameHeight / 2.0);
    p.setBrush(QColor(40, 40, 44));
    p.drawEllipse(QPointF(0, 0), width / 2.0 - 3, frameHeight / 2.0 - 3);
    p.rotate(-150 + 300.0 * k / (frames - 1));
    p.setPen(QPen(QColor(240, 240, 240), 2));
    p.drawLine(QPointF(0, 0), QPointF(0, -(frameHeight / 2.0 - 6)));
    p.restore();
  }
  return strip;
}

struct Strip {
  int resource, width, frameHeight, frames;
};
constexpr Strip kSmall{187, 43, 48, 51}, kAmp{189, 56, 55, 51}, kType{188, 56, 55, 10};

void LoadStrip(CVKRDial& dial, const Strip& s) {
  dial.SetFrameGeometry(s.width, s.frameHeight, s.frames);
  if (!dial.Image().LoadFromResource(s.resource))
    dial.Image().SetImage(SyntheticStrip(s.width, s.frameHeight, s.frames));
}

// The 30 knobs at their panel places: the amplifier-type knob, five amplifier knobs and the
// section knobs (compressor 5, effect 5, delay 5, reverb 7, gate 2).
std::vector<std::unique_ptr<CVKRDial>> MakePanel(QWidget* window) {
  std::vector<std::unique_ptr<CVKRDial>> dials;
  auto add = [&](const Strip& s, QRect rect, int min, int max) {
    auto dial = std::make_unique<CVKRDial>(window);
    dial->SetRange(min, max);
    dial->Place(rect);
    LoadStrip(*dial, s);
    dials.push_back(std::move(dial));
  };
  add(kType, QRect(264, 70, 52, 55), 0, 7);
  for (int x : {371, 434, 496, 559, 621}) add(kAmp, QRect(x, 69, 55, 53), 0, 100);
  const int columns[] = {381, 437, 494, 550, 607, 663, 720};
  const int rows[] = {173, 261, 351, 438, 526};
  const int counts[] = {5, 5, 5, 7, 2};
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < counts[r]; ++c) add(kSmall, QRect(columns[c], rows[r], 45, 45), 1, 8000);
  return dials;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#ifdef ORV_BENCH_WITH_SKIN
  orv::SkinResources::init();
#endif
  QWidget window;
  window.resize(800, 600);
  auto dials = MakePanel(&window);
  std::fprintf(stderr, "knob strips: %s\n",
               dials.front()->Image().ResourceId() ? "the skin's art" : "synthetic");
  QImage backBuffer(800, 600, QImage::Format_ARGB32_Premultiplied);
  backBuffer.fill(QColor(30, 30, 30));

  int tick = 0;
  auto turn = [&] {
    ++tick;
    for (auto& d : dials) d->SetValue(d->GetMin() + (tick * 7) % (d->GetMax() - d->GetMin() + 1));
  };
  const auto all = orv::bench::sampleNs([&] {
    turn();
    QPainter painter(&backBuffer);
    for (const auto& d : dials) d->DrawOnto(painter);
  });
  orv::bench::report("dial_draw_all_30", orv::bench::median(all) / 1e3, "us", 2000);

  CVKRDial& one = *dials[10];
  QPainter painter(&backBuffer);
  const auto single = orv::bench::sampleNs(
      [&] {
        one.SetValue((++tick * 13) % 8000);
        one.DrawOnto(painter);
      },
      20000);
  orv::bench::report("dial_draw_one", orv::bench::median(single) / 1e3, "us", 100);
  return 0;
}
