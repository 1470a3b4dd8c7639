// Start-up until the first frame is painted: the editor's main window against a minimal Qt
// window that shows text (a menu bar with three menus and a label, the same size), which pays
// the font set-up any program with text pays, each started as a fresh process of this same
// executable, interleaved, in the same run. Reports the ratio of the medians; a bare dialog
// that draws no text is timed as well, for information.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchReport.h"
#include "EditorBench.h"
#include "app/AppIcon.h"
#include "app/FontSetUp.h"
#include "mainwindow/PanelSurface.h"

namespace {

// Pairs of runs: on a busy two-core machine the medians of nine swung by a fifth between runs.
constexpr int kRuns = 21;
const char* const kPainted = "painted";

// Prints the mark once `watched` has painted its first frame, and ends the process there.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, [] {
        std::puts(kPainted);
        std::fflush(stdout);
        std::_Exit(0);
      });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

constexpr int kWidth = 800, kHeight = 620;

int runBare(int argc, char** argv) {
  QApplication app(argc, argv);
  FirstPaint watch;
  QDialog dialog;
  dialog.setFixedSize(kWidth, kHeight);
  dialog.installEventFilter(&watch);
  dialog.show();
  return app.exec();
}

int runText(int argc, char** argv) {
  QApplication app(argc, argv);
  FirstPaint watch;
  QDialog window;
  window.setFixedSize(kWidth, kHeight);
  auto* layout = new QVBoxLayout(&window);
  auto* menus = new QMenuBar(&window);
  for (const char* title : {"&File", "&Edit", "&Help"}) menus->addMenu(title)->addAction("Quit");
  layout->setMenuBar(menus);
  auto* label = new QLabel("A window with a menu bar and a line of text", &window);
  layout->addWidget(label);
  label->installEventFilter(&watch);
  window.show();
  return app.exec();
}

int runChild(const QString& mode, int argc, char** argv) {
  if (mode == "bare") return runBare(argc, argv);
  if (mode == "text") return runText(argc, argv);
  QApplication app(argc, argv);
  // As the editor's start-up does: the font configuration loads while the icon is read and the
  // window is made.
  orv::FontSetUp fonts;
  app.setWindowIcon(orv::AppIcon::icon());
  FirstPaint watch;
  orv::bench::Editor editor;
  orv::CVKREditorDlg& dlg = editor.open([&] { fonts.wait(); });
  dlg.surface().installEventFilter(&watch);
  return app.exec();
}

// Milliseconds from starting the child until it reports its first frame.
double timeChild(const QString& self, const QString& mode) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(env);
  QElapsedTimer t;
  t.start();
  child.start(self, {"--child", mode});
  while (child.waitForReadyRead(20000))
    if (child.readAllStandardOutput().contains(kPainted)) break;
  const double ms = double(t.nsecsElapsed()) / 1e6;
  child.waitForFinished(5000);
  return ms;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--child") return runChild(argv[2], argc, argv);
  QCoreApplication app(argc, argv);
  const QString self = QCoreApplication::applicationFilePath();
  const char* const modes[] = {"bare", "text", "editor"};
  std::vector<double> times[3];
  for (const char* mode : modes) timeChild(self, mode);  // warm the file cache
  for (int i = 0; i < kRuns; ++i)
    for (int m = 0; m < 3; ++m) times[m].push_back(timeChild(self, modes[m]));
  const double bare = median(times[0]), text = median(times[1]), editor = median(times[2]);
  std::printf(
      "# first frame: editor %.1f ms, window with menus and text %.1f ms, bare dialog "
      "%.1f ms (medians of %d; %s)\n",
      editor, text, bare, kRuns, orv::bench::loadAverage().c_str());
  std::printf("# editor against the bare dialog, for information: %.2fx\n", editor / bare);
  orv::bench::report("startup_first_frame_vs_window_with_text", editor / text, "x", 1.3);
  return 0;
}
