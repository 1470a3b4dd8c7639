#pragma once
#include <thread>

namespace orv {

// Reads the system's font configuration (fontconfig's configuration files and font caches) on
// a thread of its own, so that this reading overlaps the making of the window instead of
// holding up its first text. Made once the process's locale is settled: the parsing reads it.
// Where the program is built without fontconfig it does nothing.
class FontSetUp {
 public:
  FontSetUp();
  ~FontSetUp();  // waits for the thread
  FontSetUp(const FontSetUp&) = delete;
  FontSetUp& operator=(const FontSetUp&) = delete;

  // Returns once the configuration is read. Called before the first text is measured: a text
  // measured earlier has Qt read the whole configuration a second time, side by side with this.
  void wait();

 private:
  std::thread thread_;
};

}  // namespace orv
