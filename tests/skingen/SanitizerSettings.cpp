// Qt's painting and image conversion spread large jobs over a pool of worker threads that hand
// work back through futexes, which ThreadSanitizer cannot see; every allocation handed between
// them reads as a race. This suite renders full panels, so it tells ThreadSanitizer to ignore
// races reported inside Qt's own libraries. The suite itself runs on one thread.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libQt6Core.so\n"
         "race:libQt6Gui.so\n";
}
