#include "app/VKREditorApp.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <locale>
#include <utility>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/FontSetUp.h"
#include "app/HelpDocument.h"
#include "app/SingleInstance.h"
#include "app/UnattendedMessageBoxes.h"
#include "controls/VKRListBox.h"
#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "device/VirtualMidiBackend.h"
#include "device/VirtualMidiService.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "mainwindow/ExceptionBarrier.h"
#include "mainwindow/LibraryFlows.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/QtMessageBoxes.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/StringTable.h"
#include "settings/VKRPrefData.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualAmpTransport.h"

namespace orv {

namespace {

const QString kAppName = QStringLiteral("ORV Editor");
constexpr int kScreenshotWaitMs = 1000;
// With the simulator the picture waits for its patch; this long at most.
constexpr int kScreenshotPatchTimeoutMs = 15000;

void setUserLocale() {
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
    // An unknown locale in the environment: the classic one stays.
  }
}

// Show Differences lists nothing for an untouched sound. For its picture, slot 21 (the starter
// library's first sound of model family 1, the simulator's default) is loaded, then the amplifier's
// Gain, Bass and Treble are turned.
void editForPicture(CVKREditorDlg& dlg) {
  constexpr int kSlot = 20;
  if (CVKRListBox* list = dlg.controls().libraryList(); list && list->SetCurSel(kSlot))
    dlg.flows().SelectSlot(kSlot);
  constexpr std::pair<int, int> kTurns[] = {{1111, 90}, {1113, 35}, {1115, 70}};
  for (const auto& [dial, value] : kTurns) dlg.OnControlChanged(dial, value);
}

}  // namespace

CVKREditorApp::CVKREditorApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(kAppName);
  setApplicationVersion(QString::fromLatin1(kVersion));
  setDesktopFileName(QStringLiteral("net.tavolin.OrvEditor"));
}

CVKREditorApp::~CVKREditorApp() {
  delete mainWindow_.data();
  DeviceLink::destroy();
  simulator_.reset();
}

bool CVKREditorApp::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    if (barrier_) {
      barrier_->setDeferBoxes(event->type() == QEvent::Paint);
      barrier_->reportCurrent();
    } else {
      std::cerr << "Exception caught!" << std::endl;
    }
    return false;
  }
}

bool CVKREditorApp::isConsoleRun(const CommandLineOptions& options) {
  return !options.error.isEmpty() || options.help || options.version || options.listPorts;
}

int CVKREditorApp::runConsole(const CommandLineOptions& options) {
  if (!options.error.isEmpty()) {
    std::fprintf(stderr, "orv-editor: %s\n\n%s", qPrintable(options.error),
                 qPrintable(CommandLineOptions::usage()));
    return 2;
  }
  if (options.help) {
    std::fputs(qPrintable(CommandLineOptions::usage()), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("ORV Editor %s\n", kVersion);
    return 0;
  }
  return listPorts(options);
}

int CVKREditorApp::run(CommandLineOptions options) {
  setUserLocale();
  if (isConsoleRun(options)) return runConsole(options);
  // From here on nothing changes the process's locale, which fontconfig reads while it parses;
  // its configuration loads while the icon is read and the window is made.
  FontSetUp fonts;
  setWindowIcon(AppIcon::icon());
  // The running editor, and the settings written later, see this path from another folder.
  if (!options.file.isEmpty()) options.file = QFileInfo(options.file).absoluteFilePath();
  if (options.screenshot.isEmpty()) {
    boxes_ = std::make_unique<QtMessageBoxes>();
  } else {
    auto unattended = std::make_unique<UnattendedMessageBoxes>();
    unattended_ = unattended.get();
    boxes_ = std::move(unattended);
  }
  barrier_ = std::make_unique<ExceptionBarrier>(
      *boxes_, [this] { return static_cast<QWidget*>(mainWindow_.data()); });
  int result = 1;
  barrier_->run([&] { result = runEditor(options, fonts); });
  return result;
}

int CVKREditorApp::runEditor(const CommandLineOptions& options, FontSetUp& fonts) {
  // An unattended screenshot stays out of the way of an editor the user has open.
  if (options.screenshot.isEmpty()) {
    instance_ = std::make_unique<SingleInstance>();
    if (instance_->acquire() == SingleInstance::Role::Secondary) {
      fonts.wait();
      return handOverToRunningEditor(*instance_, options.file, *boxes_);
    }
  }

  CVKRPrefData::instance().read();
  if (!chooseBackend(options)) return 1;

  auto* dlg = new CVKREditorDlg(*boxes_);
  mainWindow_ = dlg;
  dlg->setAttribute(Qt::WA_DeleteOnClose, false);
  dlg->setCommandLineFile(options.file);
  dlg->setSettingsWritable(options.screenshot.isEmpty());
  connect(dlg, &CVKREditorDlg::helpRequested, this, &CVKREditorApp::showHelp);
  connect(dlg, &CVKREditorDlg::aboutRequested, this, &CVKREditorApp::showAbout);
  if (simulator_)
    connect(dlg, &CVKREditorDlg::settingsAboutToBeWritten, this, [this] {
      CVKRPrefData& settings = CVKRPrefData::instance();
      settings.setMidiIn(userPorts_.first);
      settings.setMidiOut(userPorts_.second);
    });
  if (instance_)
    instance_->setReceiver([dlg = QPointer<CVKREditorDlg>(dlg)](const QString& path) {
      return dlg && dlg->HandOver(path);
    });

  fonts.wait();
  dlg->OnInitDialog();
  if (!options.screenshot.isEmpty()) return takeScreenshot(*dlg, options);
  dlg->exec();
  return 0;
}

int CVKREditorApp::handOverToRunningEditor(SingleInstance& instance, const QString& file,
                                           IMessageBoxes& boxes) {
  // Without a file the running editor only comes forward.
  if (instance.handOver(file) && !file.isEmpty()) return 0;
  IMessageBoxes::Request request;
  request.caption = kAppName;
  request.text = QString::fromLatin1(stringText(strings::AlreadyStarted).data());
  request.icon = IMessageBoxes::Icon::Stop;
  request.aboveAll = true;  // never hidden behind the running editor's window
  boxes.ask(request);
  return 1;  // nothing was done: the running editor has no file from this start
}

RtMidiBackend::Api CVKREditorApp::midiApi(const CommandLineOptions& options) {
  if (options.midiApi.isEmpty()) return RtMidiBackend::Api::Any;
  return RtMidiBackend::parseApi(options.midiApi.toStdString()).value_or(RtMidiBackend::Api::Any);
}

int CVKREditorApp::listPorts(const CommandLineOptions& options) {
  // The names as the editor looks them up (MidiPort's naming rule applied).
  RtMidiBackend backend(midiApi(options));
  if (backend.api() == RtMidiBackend::Api::Any) {
    std::fprintf(stderr, "orv-editor: %s\n", backend.serviceError().c_str());
    return 1;
  }
  for (const std::string& name : backend.inputDevices())
    std::printf("in %s\n", MidiPort::listedName(name).c_str());
  for (const std::string& name : backend.outputDevices())
    std::printf("out %s\n", MidiPort::listedName(name).c_str());
  return 0;
}

bool CVKREditorApp::chooseBackend(const CommandLineOptions& options) {
  if (!options.simulateModel) {
    // The computer's MIDI service: the one asked for, or ALSA and then JACK.
    DeviceLink::setBackendFactory(RtMidiBackend::factory(midiApi(options)));
    return true;
  }
  // The simulator is a device of an in-process MIDI service, and the editor's only one.
  service_ = std::make_shared<VirtualMidiService>();
  AmpSimulator::Options sim;
  sim.name = "ORV10";
  sim.model = *options.simulateModel;
  simulator_ = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service_), sim);
  if (simulator_->start() != 0) {
    std::fprintf(stderr, "orv-editor: the simulator could not start\n");
    return false;
  }
  std::shared_ptr<VirtualMidiService> service = service_;
  DeviceLink::setBackendFactory(
      [service] { return std::make_unique<VirtualMidiBackend>(service); });
  // This session's ports are the simulator's, whatever the settings name; the names the user
  // chose go back into the settings before they are written.
  CVKRPrefData& settings = CVKRPrefData::instance();
  userPorts_ = {settings.midiIn(), settings.midiOut()};
  settings.setMidiIn(sim.name);
  settings.setMidiOut(sim.name);
  return true;
}

int CVKREditorApp::takeScreenshot(CVKREditorDlg& dlg, const CommandLineOptions& options) {
  dlg.show();
  bool shown = false;
  QEventLoop loop;
  connect(&dlg, &CVKREditorDlg::devicePatchShown, &loop, [&] {
    shown = true;
    loop.quit();
  });
  QTimer::singleShot(options.simulateModel ? kScreenshotPatchTimeoutMs : kScreenshotWaitMs, &loop,
                     &QEventLoop::quit);
  loop.exec();
  if (options.simulateModel && !shown)
    std::fprintf(stderr, "orv-editor: the simulator's patch did not arrive\n");
  processEvents();
  if (!options.screenshotDialog.isEmpty()) {
    const int result = pictureDialog(dlg, options);
    dlg.close();
    return result == 0 && (shown || !options.simulateModel) ? 0 : 1;
  }
  const bool saved = dlg.grab().save(options.screenshot, "PNG");
  if (!saved) std::fprintf(stderr, "orv-editor: cannot write %s\n", qPrintable(options.screenshot));
  dlg.close();
  return saved && (shown || !options.simulateModel) ? 0 : 1;
}

int CVKREditorApp::pictureDialog(CVKREditorDlg& dlg, const CommandLineOptions& options) {
  static const QHash<QString, int> commands{{"save-to-library", MainMenu::SaveToLibrary},
                                            {"import", MainMenu::Import},
                                            {"export", MainMenu::Export},
                                            {"preferences", MainMenu::Preferences},
                                            {"find", MainMenu::Find},
                                            {"differences", MainMenu::ShowDifferences}};
  QAction* action = dlg.menu().action(commands.value(options.screenshotDialog));
  if (!action || !action->isEnabled()) {
    std::fprintf(stderr, "orv-editor: the editor cannot show %s now\n",
                 qPrintable(options.screenshotDialog));
    return 1;
  }
  unattended_->pictureNextDialog(options.screenshot);  // from now on "save first?" is answered No
  if (options.screenshotDialog == QLatin1String("differences")) editForPicture(dlg);
  action->trigger();
  processEvents();
  if (unattended_->pictured()) return 0;
  std::fprintf(stderr, "orv-editor: %s showed no dialog\n", qPrintable(options.screenshotDialog));
  return 1;
}

void CVKREditorApp::showHelp() {
  if (mainWindow_) mainWindow_->barrier().run([] { HelpDocument::open(); });
}

void CVKREditorApp::showAbout() {
  CAboutDlg about(mainWindow_);
  boxes_->runModal(about);
}

}  // namespace orv
