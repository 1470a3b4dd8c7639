#pragma once
#include <QApplication>
#include <QPointer>
#include <memory>
#include <string>
#include <utility>

#include "app/CommandLineOptions.h"
#include "device/rtmidi/RtMidiBackend.h"

namespace orv {

class AmpSimulator;
class CVKREditorDlg;
class ExceptionBarrier;
class FontSetUp;
class IMessageBoxes;
class SingleInstance;
class UnattendedMessageBoxes;
class VirtualMidiService;

// The program: prepares the process, makes sure one editor runs per user, chooses the MIDI
// service (or the built-in amplifier simulator), runs the main window until it closes, and
// catches whatever escapes an event handler (the error box for the program's own failures,
// "Exception caught!" on standard error for anything else).
class CVKREditorApp : public QApplication {
  Q_OBJECT
 public:
  static constexpr const char* kVersion = "1.1.0";

  CVKREditorApp(int& argc, char** argv);
  ~CVKREditorApp() override;

  // Start-up to exit with the command line main() read; returns the process's exit code.
  int run(CommandLineOptions options);

  // Runs that need no window (--help, --version, --list-ports, a bad command line) are done
  // before any application object exists, so they work without a display.
  static bool isConsoleRun(const CommandLineOptions& options);
  static int runConsole(const CommandLineOptions& options);

  bool notify(QObject* receiver, QEvent* event) override;

  // A later start: hands `file` to the running editor (exit code 0), or brings that editor
  // forward and shows "Has already started." when there is no file or the running editor does
  // not take it (exit code 1).
  static int handOverToRunningEditor(SingleInstance& instance, const QString& file,
                                     IMessageBoxes& boxes);

 private:
  // `fonts` is waited for before the first text is shown.
  int runEditor(const CommandLineOptions& options, FontSetUp& fonts);
  static int listPorts(const CommandLineOptions& options);
  static RtMidiBackend::Api midiApi(const CommandLineOptions& options);
  // The MIDI service the device link will use; false when it cannot be had.
  bool chooseBackend(const CommandLineOptions& options);
  int takeScreenshot(CVKREditorDlg& dlg, const CommandLineOptions& options);
  // The picture of a dialog, opened by its menu command, instead of the window's.
  int pictureDialog(CVKREditorDlg& dlg, const CommandLineOptions& options);
  void showHelp();
  void showAbout();

  std::unique_ptr<IMessageBoxes> boxes_;
  UnattendedMessageBoxes* unattended_ = nullptr;  // boxes_ when nobody watches
  std::unique_ptr<ExceptionBarrier> barrier_;
  std::unique_ptr<SingleInstance> instance_;
  std::shared_ptr<VirtualMidiService> service_;
  std::unique_ptr<AmpSimulator> simulator_;
  QPointer<CVKREditorDlg> mainWindow_;
  std::pair<std::string, std::string> userPorts_;  // MIDI In and Out while the simulator runs
};

}  // namespace orv
