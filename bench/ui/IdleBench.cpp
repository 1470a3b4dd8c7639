// The editor left alone: CPU use while connected to the simulator and while nothing is
// connected, and the process's peak memory.
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "BenchReport.h"
#include "EditorBench.h"

namespace {

double cpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Percent of one core used while the event loop runs for `ms` milliseconds.
double idleCpuPercent(int ms) {
  QElapsedTimer wall;
  const double cpu0 = cpuSeconds();
  wall.start();
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return 100.0 * (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  double connected = 0, alone = 0;
  {
    orv::bench::Editor editor;
    editor.startSimulator();
    editor.open();
    if (!editor.waitForPatch()) {
      std::fprintf(stderr, "the simulator's patch did not arrive\n");
      return 1;
    }
    idleCpuPercent(500);
    connected = idleCpuPercent(5000);
  }
  {
    orv::bench::Editor editor;
    editor.open();
    idleCpuPercent(500);
    alone = idleCpuPercent(5000);
  }
  orv::bench::report("idle_cpu_connected", connected, "%", 1);
  orv::bench::report("idle_cpu_not_connected", alone, "%", 1);
  orv::bench::report("editor_peak_memory", orv::bench::peakMemoryMB(), "MB", 80);
  return 0;
}
