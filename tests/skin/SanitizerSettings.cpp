// Converting the full-size panel images spreads over Qt's pool of worker threads, which hand
// work back through futexes that ThreadSanitizer cannot see; every allocation handed between
// them reads as a race. This suite tells it to ignore races reported inside Qt's libraries; the
// suite itself runs on one thread.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libQt6Core.so\n"
         "race:libQt6Gui.so\n";
}
