#include "app/FontSetUp.h"

#include <system_error>

#if ORV_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace orv {

FontSetUp::FontSetUp() {
#if ORV_HAVE_FONTCONFIG
  try {
    // fontconfig keeps the configuration it loads as the process's current one; Qt's own call
    // later finds it there. A failure here is Qt's to meet and report, as without this thread.
    thread_ = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to be had: Qt reads the configuration itself, only later.
  }
#endif
}

FontSetUp::~FontSetUp() {
  wait();
}

void FontSetUp::wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace orv
