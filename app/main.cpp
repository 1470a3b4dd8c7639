#include "app/VKREditorApp.h"

int main(int argc, char** argv) {
  orv::CVKREditorApp app(argc, argv);
  return app.run();
}
