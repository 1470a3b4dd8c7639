// The connected editor: a full repaint of the panel, and a knob drag until its Parameter Change
// reaches the MIDI backend.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <atomic>
#include <chrono>
#include <cstdio>

#include "BenchReport.h"
#include "EditorBench.h"
#include "controls/VKRDial.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelSurface.h"

namespace {

using Clock = std::chrono::steady_clock;

// The virtual service's backend, noting when a message is handed to it.
class TimingBackend : public orv::VirtualMidiBackend {
 public:
  using VirtualMidiBackend::VirtualMidiBackend;
  int send(const uint8_t* bytes, std::size_t length) override {
    lastSend.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
    return VirtualMidiBackend::send(bytes, length);
  }
  static inline std::atomic<Clock::rep> lastSend{0};
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  auto service = std::make_shared<orv::VirtualMidiService>();
  orv::bench::Editor editor([service] { return std::make_unique<TimingBackend>(service); });
  editor.service = service;
  editor.startSimulator();
  orv::CVKREditorDlg& dlg = editor.open();
  if (!editor.waitForPatch()) {
    std::fprintf(stderr, "the simulator's patch did not arrive\n");
    return 1;
  }

  // Full repaint: the whole window drawn into an image of its size (background, knobs, texts
  // and every child control), as a window exposed anew is drawn.
  QImage frame(dlg.size(), QImage::Format_RGB32);
  const auto paint = orv::bench::sampleNs([&] { dlg.render(&frame); }, 300, 20);
  orv::bench::report("panel_full_repaint_median", orv::bench::median(paint) / 1e6, "ms", 4);

  // Drag: one mouse movement on a knob until the backend has the Parameter Change.
  orv::CVKRDial* knob = dlg.controls().dial(1112);
  const QPoint centre = knob->rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, centre, knob->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(knob, &press);
  std::vector<double> latency;
  for (int i = 0; i < 2000; ++i) {
    // Alternate between the left and the right of the knob so that every move changes the value.
    const QPoint to(i % 2 ? knob->width() - 1 : 0, knob->height() / 2);
    QMouseEvent move(QEvent::MouseMove, to, knob->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    const Clock::rep before = TimingBackend::lastSend.load();
    const auto t0 = Clock::now();
    QApplication::sendEvent(knob, &move);
    const Clock::rep sent = TimingBackend::lastSend.load();
    if (sent != before)
      latency.push_back(double(Clock::duration(sent).count() - t0.time_since_epoch().count()));
    if (i % 50 == 0) QApplication::processEvents();
  }
  std::sort(latency.begin(), latency.end());
  if (latency.empty()) {
    std::fprintf(stderr, "no Parameter Change reached the backend\n");
    return 1;
  }
  orv::bench::report("dial_drag_to_backend_median", orv::bench::median(latency) / 1e6, "ms", 0.2);
  return 0;
}
