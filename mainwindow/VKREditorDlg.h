#pragma once
#include <QDialog>
#include <QFont>
#include <QString>
#include <array>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "controls/VKRControlListener.h"
#include "controls/VKREditListener.h"
#include "device/ControlRouter.h"
#include "mainwindow/ExceptionBarrier.h"
#include "mainwindow/MessageBoxes.h"
#include "mainwindow/PanelControls.h"
#include "patch/LibraryDocument.h"
#include "patch/LibraryHost.h"
#include "patch/MessageReporter.h"
#include "settings/VKRPrefData.h"

class QMenu;
class QMenuBar;
class QUrl;

namespace orv {

class DeviceEventHandler;
class EditCommands;
class InputFilter;
class LibraryFlows;
class MainMenu;
class MenuRules;
class PanelPainter;
class PanelRefresher;
class PanelSurface;
class SkinApplier;
class SlotCommands;
class SoundCompare;
class UndoCommands;
class WindowMessage;

// The editor's main window. It owns the library, the panel's controls and the patch name, and
// routes the three streams that meet here: gestures on the panel (listener calls and posted
// pull-down messages), device events from the device link (posted, handled on this thread) and
// menu commands, dropped or handed-over files.
//
// The work is split by concern: DeviceEventHandler (device events and ports), PanelPainter
// (painting), InputFilter (keyboard and mouse filtering), PanelLayout (creating the controls),
// PanelRefresher (bringing the controls in line with a patch), SkinApplier (the
// model-dependent skin) and LibraryFlows (slots, storing, import, export, patch files). This class
// keeps the state and the flows that join them.
class CVKREditorDlg : public QDialog,
                      public IVKRControlListener,
                      public IVKREditListener,
                      public ILibraryHost,
                      public IMessageReporter {
  Q_OBJECT

 public:
  // Every message box and modal dialog goes through `boxes`.
  explicit CVKREditorDlg(IMessageBoxes& boxes, QWidget* parent = nullptr);
  ~CVKREditorDlg() override;

  // The file named on the command line, opened at the end of the set-up.
  void setCommandLineFile(const QString& path) { commandLineFile_ = path; }
  // False: closing leaves the settings file alone (unattended runs such as screenshots).
  void setSettingsWritable(bool writable) { settingsWritable_ = writable; }

  // The set-up, in order: device link and listener, settings and position, sizing, layout, knob
  // mode, list area, fonts, library, neutral panel, default port names, ports, command-line file.
  void OnInitDialog();

  // Opens the MIDI ports by the names in the settings when both exist (see DeviceEventHandler).
  bool openConfiguredPorts();

  // A file handed over by a second instance (empty: the window only comes forward). Queued and
  // opened in order once no message box or dialog is open; false when the window is closing or
  // closed and will not open it.
  bool HandOver(const QString& path);
  // Routes a file by its extension: library, patch or "Unsupported File". A patch file dropped
  // on the library list is offered for storing into a slot, the row it was dropped on (-1: none,
  // then the current slot) preselected.
  void OpenFile(const QString& path, std::optional<int> droppedOnRow = std::nullopt);
  // Dropped files: only the first counts. `onRow`: dropped on the list, on that row.
  void DropFiles(const QList<QUrl>& urls, std::optional<int> onRow);

  // Gestures on the panel.
  void OnControlChanged(int controlId, int value) override;
  void OnEditChanged(int controlId, int value) override;

  // The step after every change of the patch from the panel, the name edit or the amplifier.
  void PatchTouched();

  // The patch name edit shows `name` (at most 64 characters).
  void setPatchName(const QString& name);
  // The patch takes a new name: shown, and written into the mirror (sent when connected).
  void renamePatch(const QString& name);
  // The next paint draws the patch name centred over the name edit (once: the edit's own text
  // is hidden until the name is edited or changes).
  void showCentredName();
  // The window's data pushed to its controls: the name edit shows the patch name.
  void pushNameToEdit();
  // The model's background for the window and every control that draws a part of it.
  void setBackground(int imageId);

  // What the window shows and holds (also read by tests).
  char modelCode() const { return modelCode_; }
  bool modelKnown() const { return modelKnown_; }
  bool portsOpen() const;
  bool connectedIndicator() const;
  const QString& patchName() const { return patchName_; }
  const std::array<QFont, 4>& fonts() const { return fonts_; }
  PanelControls& controls() { return *controls_; }
  PanelSurface& surface() { return *surface_; }
  MainMenu& menu() { return *menu_; }
  MenuRules& menuRules() { return *menuRules_; }
  QMenuBar& menuBar() { return *menuBar_; }
  LibraryDocument& library() { return library_; }
  ExceptionBarrier& barrier() { return barrier_; }
  IMessageBoxes& messageBoxes() { return boxes_; }
  SectionState& sectionState() { return sections_; }
  PanelRefresher& refresher() { return *refresher_; }
  SkinApplier& skin() { return *skin_; }
  PanelPainter& painter() { return *painter_; }
  LibraryFlows& flows() { return *flows_; }
  SlotCommands& slotCommands() { return *slotCommands_; }
  SoundCompare& compare() { return *compare_; }
  UndoCommands& undoCommands() { return *undo_; }

  // ILibraryHost.
  bool askYesNo(int stringId) override;
  void showHint(int stringId) override;
  void reportFailure(const CGenericException& failure) override;
  std::optional<std::filesystem::path> chooseLibraryToOpen() override;
  std::optional<std::filesystem::path> chooseLibraryToSave() override;
  std::optional<std::filesystem::path> chooseStarterLibrary() override;
  bool patchEdited() const override;
  bool soundOnlyHere() const override;
  void setPatchEdited(bool edited) override;
  PatchData currentPatch() const override;
  void loadCurrentPatch(const PatchData& patch) override;
  void libraryShown() override;
  void markLibrarySetUp() override;

  // IMessageReporter: checks of the core show their texts through the window's boxes.
  void showMessage(int stringId, IMessageReporter::Icon icon) override;

 signals:
  // Help > Help and Help > About; the application answers them.
  void helpRequested();
  void aboutRequested();
  // The panel shows a patch that arrived from the amplifier.
  void devicePatchShown();
  // Closing: the settings record is complete and about to be written.
  void settingsAboutToBeWritten();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Enter never closes the window; Escape never gets here (filtered).
  void accept() override {}
  void reject() override {}
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class DeviceEventHandler;
  friend class InputFilter;
  friend class LibraryFlows;
  friend class SlotCommands;
  friend class SoundCompare;
  friend class UndoCommands;

  void buildWindow();
  void setUpMenuRules();
  void sizeClientArea();
  void createFonts();
  void setUpListArea();
  void connectControls();
  void scrollList(int top);
  void scrollListBy(int rows);
  // Runs a command inside the barrier, comparing ended first unless `keepsCompare`; afterwards
  // File > Save follows the library, and a whole-patch send that failed during the command is
  // reported.
  void runCommand(const std::function<void()>& command, bool keepsCompare = false);
  // A change from the panel is refused while comparing (the panel shows the compared sound).
  bool refusedWhileComparing();
  void throwHeldBackSendFailure();
  void setUpListMenu();
  // A message box owned by the window, with its title as caption.
  IMessageBoxes::Request question(int stringId, IMessageBoxes::Icon icon, int buttons);
  void openSyx(const std::filesystem::path& file, std::optional<int> droppedOnRow);
  int ask(int stringId, IMessageBoxes::Icon icon, int buttons, bool saveLabels = false);
  std::optional<std::filesystem::path> chooseLibrary(bool toSave);
  void runMenuCommand(int command);
  void onCommand(int command);
  bool onLibraryCommand(int command);
  void libraryReplaced(bool replaced);
  void undoOrRedo(int command);
  void onUsbVolume(int value);
  void onPullDownChanged(int kind, int item);
  // `control`: the gesture's control when its next gestures may join its edit step, else 0.
  void applyRoute(const RouteResult& route, int control = 0);
  void enableSaveToLibrary();
  // Name edit: commit on leaving it, and every change of its text.
  void commitName();
  void nameChanged();
  void redrawName();
  bool unsavedChangesConfirmed(int stringId);
  void storeClosingSettings();
  void detachFromDevice();
  // A message box, a dialog or another nested loop runs: closing and hand-overs wait for it.
  bool busy() const;
  bool anotherWindowModal() const;
  // What waited for the window to be free is done once it is (a close, hand-overs).
  void whenFree();
  void onFree();
  void takeHandOvers();
  void comeForward();

  IMessageBoxes& boxes_;
  ExceptionBarrier barrier_;
  bool settingsWritable_ = true;
  QString commandLineFile_;
  LibraryDocument library_;
  std::unique_ptr<ControlRouter> router_;  // lives as long as the device link
  SectionState sections_;

  QMenuBar* menuBar_ = nullptr;
  MainMenu* menu_ = nullptr;
  MenuRules* menuRules_ = nullptr;
  std::unique_ptr<EditCommands> editCommands_;
  std::unique_ptr<UndoCommands> undo_;
  PanelSurface* surface_ = nullptr;
  std::unique_ptr<PanelControls> controls_;
  std::unique_ptr<PanelPainter> painter_;
  std::unique_ptr<PanelRefresher> refresher_;
  std::unique_ptr<SkinApplier> skin_;
  std::unique_ptr<DeviceEventHandler> deviceEvents_;
  std::unique_ptr<InputFilter> inputFilter_;
  std::unique_ptr<LibraryFlows> flows_;
  std::unique_ptr<SoundCompare> compare_;
  QMenu* listMenu_ = nullptr;
  SlotCommands* slotCommands_ = nullptr;
  std::exception_ptr heldBackSend_;  // a whole-patch send that failed during a command
  std::array<QFont, 4> fonts_;

  QString patchName_;
  char modelCode_ = '0';
  bool modelKnown_ = false;
  bool drawName_ = false;
  bool initialized_ = false;
  bool setUpDone_ = false;     // the library step is over: ports may open, patches be sent
  bool ready_ = false;         // the set-up, with the command-line file, is over
  bool closing_ = false;       // the quit question is up
  bool closePending_ = false;  // a close came while the window was busy
  bool closed_ = false;
  std::deque<QString> handOvers_;
};

}  // namespace orv
