#include <QString>
#include <QStringList>

#include "app/VKREditorApp.h"
#include "mainwindow/LocalFileName.h"

int main(int argc, char** argv) {
  // A file name that is not UTF-8 keeps its bytes (QCoreApplication::arguments() would not).
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << orv::LocalFileName::decode(QByteArray(argv[i]));
  const orv::CommandLineOptions options = orv::CommandLineOptions::parse(arguments);
  if (orv::CVKREditorApp::isConsoleRun(options)) return orv::CVKREditorApp::runConsole(options);
  orv::CVKREditorApp app(argc, argv);
  return app.run(options);
}
