// Qt synchronises its own threads (the painting pool, posted events from the device link's
// thread) through futexes that ThreadSanitizer cannot see, so every allocation handed between
// them reads as a race. These suites tell it to ignore races reported inside Qt's libraries;
// the editor's own shared state lives in instrumented code and is still checked.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libQt6Core.so\n"
         "race:libQt6Gui.so\n"
         "race:libQt6Widgets.so\n";
}
