// Start-up as a user meets it: an installed program as a whole process, from its start until its
// first window is mapped on a private X server (Xvfb), the editor against a peer program of the
// desktop (QjackCtl), started the same way, interleaved, in the same run. Reports both medians and
// their ratio.
//   bench_Launch [EDITOR [PEER]]   (default /usr/bin/orv-editor and /usr/bin/qjackctl)
// The editor starts as a user who has used it before: its settings name a library, so that the
// first window is the main window, not the first start's question.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchReport.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 11;
constexpr auto kMapTimeout = std::chrono::seconds(30);

// Reads one line from `fd` within `timeoutMs`; empty when nothing came.
std::string readLine(int fd, int timeoutMs) {
  std::string line;
  char c = 0;
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, timeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

void quietOutput() {
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
}

// Ends a child: SIGTERM, then SIGKILL when it has not gone within five seconds.
void stop(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 500; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// A private X server on the first free display number, ended with this object.
class XServer {
 public:
  XServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      quietOutput();
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    const std::string number = readLine(fds[0], 10000);
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~XServer() {
    if (pid_ > 0) stop(pid_);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Watches the X server's top-level windows being mapped.
class MapWatch {
 public:
  explicit MapWatch(const std::string& display) : conn_(xcb_connect(display.c_str(), nullptr)) {
    if (xcb_connection_has_error(conn_)) return;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn_, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(conn_);
    ok_ = true;
  }
  ~MapWatch() { xcb_disconnect(conn_); }
  MapWatch(const MapWatch&) = delete;
  MapWatch& operator=(const MapWatch&) = delete;

  bool ok() const { return ok_; }

  // Forgets what was mapped so far.
  void drain() {
    while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) std::free(e);
  }

  // True once a window that is not a pop-up is mapped on the root window; false at `deadline`.
  bool waitForMap(Clock::time_point deadline) {
    const int fd = xcb_get_file_descriptor(conn_);
    while (Clock::now() < deadline && !xcb_connection_has_error(conn_)) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) {
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect;
        std::free(e);
        if (mapped) return true;
      }
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 50);
    }
    return false;
  }

 private:
  xcb_connection_t* conn_;
  bool ok_ = false;
};

// One program under test with its own settings, runtime and cache folders, kept across its runs
// (a user's second and later starts).
struct Subject {
  std::string program;
  fs::path home;
  std::vector<double> ms;
};

// Milliseconds from starting `s` until its first window is mapped; negative when none was.
double timeLaunch(const Subject& s, const std::string& display, MapWatch& watch) {
  watch.drain();
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", display.c_str(), 1);
    for (const char* dir : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"})
      setenv(dir, (s.home / dir).c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("WAYLAND_DISPLAY");
    quietOutput();
    execl(s.program.c_str(), s.program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool mapped = watch.waitForMap(start + kMapTimeout);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  stop(pid);
  return mapped ? ms : -1;
}

fs::path makeHome(const std::string& name) {
  std::string pattern = (fs::temp_directory_path() / ("orv-launch-" + name + "-XXXXXX")).string();
  const fs::path home = mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
  for (const char* dir : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"})
    fs::create_directories(home / dir);
  fs::permissions(home / "XDG_RUNTIME_DIR", fs::perms::owner_all);
  return home;
}

// The editor's settings as a returning user has them: the starter library as the library.
bool seedEditorSettings(const Subject& editor) {
  const fs::path starter =
      fs::path(editor.program).parent_path() / "../share/orv-editor/presets/Starter.ZBL";
  const fs::path config = editor.home / "XDG_CONFIG_HOME" / "TAVOLIN" / "ORV Editor" / "config";
  std::error_code ec;
  fs::create_directories(config, ec);
  fs::copy_file(starter, editor.home / "Live.ZBL", ec);
  if (ec) {
    std::fprintf(stderr, "bench_Launch: no starter library at %s\n", starter.c_str());
    return false;
  }
  std::ofstream ini(config / "ORV Editor.ini");
  ini << "[Library]\nPath=" << (editor.home / "Live.ZBL").string() << "\nSaved=1\n";
  return bool(ini);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int measure(Subject& editor, Subject& peer) {
  const XServer x;
  if (x.display().empty()) {
    std::fprintf(stderr, "bench_Launch: Xvfb did not start\n");
    return 1;
  }
  MapWatch watch(x.display());
  if (!watch.ok()) {
    std::fprintf(stderr, "bench_Launch: cannot watch %s\n", x.display().c_str());
    return 1;
  }
  // The first start of each fills the file cache and the program's own caches.
  for (int i = -1; i < kRuns; ++i)
    for (Subject* s : {&editor, &peer}) {
      const double ms = timeLaunch(*s, x.display(), watch);
      if (ms < 0) {
        std::fprintf(stderr, "bench_Launch: %s mapped no window\n", s->program.c_str());
        return 1;
      }
      if (i >= 0) s->ms.push_back(ms);
    }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Subject editor{argc > 1 ? argv[1] : "/usr/bin/orv-editor", makeHome("editor"), {}};
  Subject peer{argc > 2 ? argv[2] : "/usr/bin/qjackctl", makeHome("peer"), {}};
  const std::string load = orv::bench::loadAverage();
  int status = seedEditorSettings(editor) ? measure(editor, peer) : 1;
  for (const Subject* s : {&editor, &peer}) fs::remove_all(s->home);
  if (status != 0) return status;
  const double e = median(editor.ms), p = median(peer.ms);
  std::printf(
      "# whole process to its first window under Xvfb: %s %.1f ms, %s %.1f ms "
      "(medians of %d; %s at the start)\n",
      editor.program.c_str(), e, peer.program.c_str(), p, kRuns, load.c_str());
  orv::bench::report("launch_first_window_vs_qjackctl", e / p, "x", 1.3);
  return 0;
}
