#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace orv {

// The editor's command line, read by QCommandLineParser from one list of declared options (the
// help text and the manual page come from the same list): options, and the one argument that is
// not an option as the file to open (a second one is a usage error). Paths stay full Unicode.
//
//   --simulate[=0..4]   run against the built-in amplifier simulator (model '1' by default)
//   --midi-api alsa|jack
//   --screenshot FILE   write the window as a PNG once the panel is up, then quit
//   --dialog NAME       with --screenshot: the picture is of that dialog instead
//   --list-ports        print the MIDI service's input and output devices and end
//   --help, --version
//   --                  everything after it is a file name
struct CommandLineOptions {
  QString file;
  std::optional<char> simulateModel;  // '0'..'4' when --simulate was given
  QString midiApi;                    // empty: try ALSA, then JACK
  QString screenshot;
  QString screenshotDialog;  // one of screenshotDialogs(), or empty for the window
  bool help = false;
  bool version = false;
  bool listPorts = false;
  QString error;  // set when the command line cannot be used; the other fields are then partial

  // `arguments` includes the program name, as QCoreApplication::arguments() gives it.
  static CommandLineOptions parse(const QStringList& arguments);
  static QString usage();
  // The dialogs --dialog can picture, named as the option takes them.
  static const QStringList& screenshotDialogs();
};

}  // namespace orv
