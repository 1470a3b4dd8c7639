#include <QString>
#include <QStringList>

#include "app/VKREditorApp.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const orv::CommandLineOptions options = orv::CommandLineOptions::parse(arguments);
  if (orv::CVKREditorApp::isConsoleRun(options)) return orv::CVKREditorApp::runConsole(options);
  orv::CVKREditorApp app(argc, argv);
  return app.run();
}
