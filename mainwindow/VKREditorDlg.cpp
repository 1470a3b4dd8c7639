#include "mainwindow/VKREditorDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

#include "controls/CustomButton.h"
#include "controls/Rapidbutton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"
#include "controls/WindowEvents.h"
#include "device/ControlRanges.h"
#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "device/SyxFile.h"
#include "mainwindow/DeviceEventHandler.h"
#include "mainwindow/DifferencesCommand.h"
#include "mainwindow/EditCommands.h"
#include "mainwindow/FileDialogs.h"
#include "mainwindow/InputFilter.h"
#include "mainwindow/LibraryExchange.h"
#include "mainwindow/LibraryFlows.h"
#include "mainwindow/LocalFileName.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/MenuRules.h"
#include "mainwindow/MessageBoxes.h"
#include "mainwindow/PanelAccessibility.h"
#include "mainwindow/PanelLayout.h"
#include "mainwindow/PanelPainter.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/PreferencesCommand.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/SkinImages.h"
#include "mainwindow/SlotCommands.h"
#include "mainwindow/SoundCompare.h"
#include "mainwindow/StarterLibrary.h"
#include "mainwindow/UndoCommands.h"
#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/StringTable.h"
#include "skin/SkinResources.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

const QString kTitle = QStringLiteral("ORV Editor");

// Paths from the command line and from hand-overs keep the bytes of names that are not UTF-8.
fs::path toPath(const QString& path) {
  return fs::path(LocalFileName::encode(path).toStdString());
}

// The commands this window carries out; the others stay grayed.
const QSet<int> kHandledCommands = {
    MainMenu::New,
    MainMenu::Open,
    MainMenu::Save,
    MainMenu::SaveAs,
    MainMenu::SaveToLibrary,
    MainMenu::Import,
    MainMenu::Export,
    MainMenu::Quit,
    MainMenu::Help,
    MainMenu::About,
    MainMenu::Volume1,
    MainMenu::Volume1 + 1,
    MainMenu::Volume1 + 2,
    MainMenu::Volume1 + 3,
    MainMenu::Volume5,
    MainMenu::Undo,
    MainMenu::Cut,
    MainMenu::Copy,
    MainMenu::Paste,
    MainMenu::Preferences,
    MainMenu::Find,
    MainMenu::Compare,
    MainMenu::ShowDifferences,
    MainMenu::Redo,
};

// The list's context menu item "Clear".
constexpr int kClearSlot = 32800;

// A desktop window with a title bar that can be minimised; its size is fixed.
constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

}  // namespace

CVKREditorDlg::CVKREditorDlg(IMessageBoxes& boxes, QWidget* parent)
    : QDialog(parent),
      boxes_(boxes),
      barrier_(boxes, [this] { return static_cast<QWidget*>(this); }),
      library_(*this),
      flows_(std::make_unique<LibraryFlows>(*this)) {
  SkinResources::init();
  // The art decodes on worker threads while the window is being built.
  SkinImages::preload(PanelLayout::images());
  setWindowTitle(kTitle);
  setWindowFlags(kWindowFlags);
  setObjectName(QStringLiteral("mainWindow"));
  setAcceptDrops(true);
  buildWindow();
  barrier_.setAfterRun([this] {
    if (closePending_ || !handOvers_.empty()) QTimer::singleShot(0, this, &CVKREditorDlg::onFree);
  });
}

CVKREditorDlg::~CVKREditorDlg() {
  inputFilter_.reset();
  if (initialized_ && !closed_) detachFromDevice();
  // Hidden while the controls still exist: the focus leaving the name edit or a number entry
  // must not reach parts of the window already destroyed.
  hide();
}

void CVKREditorDlg::buildWindow() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  layout->setMenuBar(menuBar_);
  menu_ = new MainMenu(menuBar_, kHandledCommands, this);
  connect(menu_, &MainMenu::triggered, this, [this](int command) { runMenuCommand(command); });
  setUpMenuRules();
  surface_ = new PanelSurface(this);
  layout->addWidget(surface_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CVKREditorDlg::setUpMenuRules() {
  menuRules_ = new MenuRules(*menuBar_, *menu_, this);
  editCommands_ = std::make_unique<EditCommands>(*this);
  undo_ = std::make_unique<UndoCommands>(*this);
  for (int command : {MainMenu::Cut, MainMenu::Copy, MainMenu::Paste})
    menuRules_->set(command, [this, command] { return editCommands_->enabled(command); });
  menuRules_->set(MainMenu::Compare, [this] { return compare_ && compare_->available(); });
  // In a text field Undo and Redo are the field's; elsewhere they walk the edit history.
  menuRules_->set(MainMenu::Undo, [this] {
    return editCommands_->fieldFocused() ? editCommands_->enabled(MainMenu::Undo)
                                         : undo_->canUndo();
  });
  menuRules_->set(MainMenu::Redo, [this] {
    return editCommands_->fieldFocused() ? editCommands_->enabled(MainMenu::Redo)
                                         : undo_->canRedo();
  });
}

void CVKREditorDlg::undoOrRedo(int command) {
  if (editCommands_->fieldFocused())
    editCommands_->run(command);
  else if (command == MainMenu::Undo)
    undo_->undo();
  else
    undo_->redo();
}

// ---------------------------------------------------------------------------------------------
// Set-up

void CVKREditorDlg::OnInitDialog() {
  if (initialized_) return;
  initialized_ = true;
  setWindowIcon(QApplication::windowIcon());

  DeviceLink& link = DeviceLink::instance();
  deviceEvents_ = std::make_unique<DeviceEventHandler>(*this, link);
  link.addListener(&DeviceEventHandler::Listener, this);
  router_ = std::make_unique<ControlRouter>(link);

  const CVKRPrefData& settings = CVKRPrefData::instance();
  move(settings.posX(), settings.posY());
  sizeClientArea();

  PanelAccessibility::Install();
  controls_ = PanelLayout::create(surface_, *this, *this, this);
  painter_ = std::make_unique<PanelPainter>(*controls_);
  surface_->setPainter([this](QPainter& p, const QRect& r) { painter_->paint(p, r); });
  refresher_ = std::make_unique<PanelRefresher>(*this);
  skin_ = std::make_unique<SkinApplier>(*this);
  compare_ = std::make_unique<SoundCompare>(*this);
  setBackground(PanelLayout::kBackground);
  skin_->ApplyModelSkin(modelCode_);

  for (CVKRDial* dial : controls_->dials()) dial->SetKnobMode(settings.dialType());
  setUpListArea();
  createFonts();
  connectControls();
  PanelAccessibility::SetUp(*this);
  inputFilter_ = std::make_unique<InputFilter>(*this);

  // Failures of the steps below are shown and the set-up goes on: a port that cannot be opened
  // must not leave the window without its library or its command-line file.
  runCommand([&] { library_.startUp(fs::path(settings.libraryPath()), settings.saved() != 0); });
  if (closed_) return;  // every step after one that may show a box: the window is still open
  barrier_.run([&] { refresher_->NeutralRefresh(); });
  // Until here nothing may reach an amplifier: a box of the library step runs the event loop,
  // and a patch made meanwhile is not the user's choice. From now on the ports open.
  setUpDone_ = true;
  barrier_.run([&] {
    deviceEvents_->chooseDefaultPortNames();
    deviceEvents_->openPortsByConfiguredNames();
  });
  if (!commandLineFile_.isEmpty()) runCommand([&] { OpenFile(commandLineFile_); });
  if (closed_) return;
  enableSaveToLibrary();
  undo_->reset();  // the history begins with what the set-up has made
  ready_ = true;
  whenFree();
}

void CVKREditorDlg::sizeClientArea() {
  // The client area is the panel surface, exactly 800 x 600 below the menu bar; the window is
  // sized around it and cannot be resized. Template and pixels agree, so nothing is scaled.
  layout()->activate();
  setFixedSize(sizeHint());
}

void CVKREditorDlg::createFonts() {
  // Sizes in pixels: 7.5, 8.2, 9 and 10.5 points at 96 dpi, the same size at any resolution.
  constexpr int kPixels[] = {10, 11, 12, 14};
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(kPixels[i]);
    fonts_[i] = f;
  }
  PanelControls& c = *controls_;
  painter_->setLabelFont(fonts_[0]);
  painter_->setNameFont(fonts_[2]);
  for (int id : {1117, 1147})
    if (CVKRPullDownMenu* p = c.pullDown(id)) p->SetItemFont(fonts_[0]);
  for (int id = 1033; id <= 1036; ++id)
    if (CVKRPullDownMenu* p = c.pullDown(id)) p->SetItemFont(fonts_[2]);
  for (CVKRNumberEditText* d : surface_->findChildren<CVKRNumberEditText*>())
    d->SetTextFont(fonts_[1]);
  if (QLineEdit* edit = c.nameEdit()) edit->setFont(fonts_[2]);
  if (CVKRListBox* list = c.libraryList()) list->setFont(fonts_[2]);
  if (QLabel* name = c.libraryName()) name->setFont(fonts_[3]);
}

void CVKREditorDlg::setUpListArea() {
  PanelControls& c = *controls_;
  CVKRScrollBar* bar = c.scrollBar();
  CVKRListBox* list = c.libraryList();
  if (!bar || !list) return;
  // The list has no scroll bar of its own: the skinned bar follows its top row.
  connect(list, &CVKRListBox::TopIndexChanged, this, [this, bar](int top) {
    bar->SetValue(top);
    surface_->update(bar->RepaintArea());
  });
  OnControlChanged(PanelControls::kScrollBar, 0);
  setUpListMenu();
}

void CVKREditorDlg::setUpListMenu() {
  listMenu_ = new QMenu(this);
  listMenu_->setObjectName(QStringLiteral("listMenu"));
  connect(listMenu_->addAction(QStringLiteral("Clear")), &QAction::triggered, this,
          [this] { runMenuCommand(kClearSlot); });
  controls_->libraryList()->SetContextMenu(listMenu_);
  slotCommands_ = new SlotCommands(*this, *listMenu_);
}

void CVKREditorDlg::connectControls() {
  PanelControls& c = *controls_;
  // Enter or F2 on a knob opens the number entry of its read-out, when it has a shown one.
  for (CVKRDial* dial : c.dials()) {
    CVKRNumberEditText* display = c.display(dial->GetId() - panel::kEditToDial);
    if (!display) continue;
    connect(dial, &CVKRDial::EntryRequested, display, [display] {
      if (display->isVisible() && display->isEnabled()) display->OpenEntry();
    });
  }
  for (int id = 1087; id <= 1094; ++id)
    if (CCustomButton* b = c.button(id))
      connect(b, &QAbstractButton::clicked, this, [this, id] { OnControlChanged(id, 0); });
  for (int id = 1019; id <= 1023; ++id)
    if (CCustomButton* b = c.button(id))
      connect(b, &QAbstractButton::clicked, this,
              [this, id, b] { OnControlChanged(id, b->GetState()); });
  if (CVKRListBox* list = c.libraryList())
    connect(list, &CVKRListBox::SelectionChanged, this,
            [this](int row) { runCommand([&] { flows_->SelectSlot(row); }); });
  if (CCustomButton* save = c.saveToLibrary())
    connect(save, &QAbstractButton::clicked, this,
            [this] { runCommand([&] { flows_->SaveToLibrary(); }); });
  // One click on a list arrow moves one row; holding it repeats (posted by the button).
  for (CRapidbutton* arrow : {c.scrollDown(), c.scrollUp()}) {
    if (!arrow) continue;
    const int step = arrow == c.scrollDown() ? 1 : -1;
    connect(arrow, &QAbstractButton::clicked, this, [this, step] { scrollListBy(step); });
  }
  if (QLineEdit* edit = c.nameEdit()) {
    connect(edit, &QLineEdit::textEdited, this, [this] { barrier_.run([&] { nameChanged(); }); });
    connect(edit, &QLineEdit::editingFinished, this,
            [this] { barrier_.run([&] { commitName(); }); });
  }
}

void CVKREditorDlg::setBackground(int imageId) {
  painter_->setBackground(imageId);
  for (QWidget* w : surface_->findChildren<QWidget*>()) {
    if (auto* b = qobject_cast<CCustomButton*>(w)) SkinImages::load(b->Background(), imageId);
    if (auto* k = qobject_cast<CVKRControl*>(w)) SkinImages::load(k->BackImage(), imageId);
  }
}

// ---------------------------------------------------------------------------------------------
// Gestures

void CVKREditorDlg::OnEditChanged(int controlId, int value) {
  OnControlChanged(controlId, value);
}

void CVKREditorDlg::OnControlChanged(int controlId, int value) {
  barrier_.run([&] {
    if (!router_) return;
    if (controlId == PanelControls::kScrollBar) {
      scrollList(value);
      return;
    }
    if (refusedWhileComparing()) return;
    // The gestures of a knob (a drag, a wheel burst, arrow keys) join into one edit step.
    applyRoute(router_->control(controlId, value, sections_),
               controls_->dial(controlId) ? controlId : 0);
  });
}

void CVKREditorDlg::onPullDownChanged(int kind, int item) {
  if (!router_ || refusedWhileComparing()) return;
  applyRoute(router_->pullDown(kind, item, sections_));
}

bool CVKREditorDlg::refusedWhileComparing() {
  if (!compare_ || !compare_->active()) return false;
  compare_->refuseChange();
  return true;
}

void CVKREditorDlg::applyRoute(const RouteResult& route, int control) {
  if (!route.handled) return;
  if (route.dial || route.edit) refresher_->ShowValue(route.dial, route.edit, route.shownValue);
  if (route.ampType) refresher_->ShowAmpType(route.shownValue);
  if (route.relabel != panel::Section::None)
    refresher_->RelabelSection(route.relabel, route.relabelType);
  if (route.refresh != panel::Section::None)
    refresher_->RefreshSection(route.refresh, DeviceLink::instance().mirror());
  if (route.redrawPullDown)
    if (QWidget* p = controls_->widget(route.redrawPullDown)) p->update();
  if (route.patchTouched) PatchTouched();
  undo_->capture(control);
  route.throwIfFailed();
}

// The list decides how far it can scroll; the bar always shows the list's own top row, so that
// the arrows never have to work their way back from a row the list cannot show.
void CVKREditorDlg::scrollList(int value) {
  CVKRScrollBar* bar = controls_->scrollBar();
  CVKRListBox* list = controls_->libraryList();
  if (!bar || !list) return;
  list->SetTopIndex(std::clamp(value, 0, std::max(list->GetCount() - 1, 0)));
  bar->SetValue(list->GetTopIndex());
  surface_->update(bar->RepaintArea());
}

void CVKREditorDlg::scrollListBy(int rows) {
  if (CVKRListBox* list = controls_ ? controls_->libraryList() : nullptr)
    barrier_.run([&] { scrollList(list->GetTopIndex() + rows); });
}

void CVKREditorDlg::PatchTouched() {
  enableSaveToLibrary();
  if (CVKRListBox* list = controls_->libraryList()) list->SetCurSel(-1);
}

void CVKREditorDlg::enableSaveToLibrary() {
  if (CCustomButton* save = controls_->saveToLibrary(); save && !save->isEnabled()) {
    save->setEnabled(true);
    save->SetState(1);
    save->update();
  }
  menu_->setEnabled(MainMenu::SaveToLibrary, true);
}

bool CVKREditorDlg::openConfiguredPorts() {
  return deviceEvents_ && deviceEvents_->openPortsByConfiguredNames();
}

bool CVKREditorDlg::portsOpen() const {
  return deviceEvents_ && deviceEvents_->portsOpen();
}

bool CVKREditorDlg::connectedIndicator() const {
  const CCustomButton* indicator = controls_ ? controls_->connectionIndicator() : nullptr;
  return indicator && indicator->GetState() == 1;
}

// ---------------------------------------------------------------------------------------------
// The patch name

void CVKREditorDlg::setPatchName(const QString& name) {
  patchName_ = name.left(64);
  pushNameToEdit();
  redrawName();
}

void CVKREditorDlg::renamePatch(const QString& name) {
  setPatchName(name);
  const QByteArray bytes = patchName_.toLatin1();  // patch names are Latin-1 bytes
  if (router_) router_->writer().setName(std::string_view(bytes.constData(), size_t(bytes.size())));
}

void CVKREditorDlg::showCentredName() {
  QLineEdit* edit = controls_->nameEdit();
  if (!edit) return;
  painter_->setCentredName(patchName_);
  QPalette p = edit->palette();
  p.setColor(QPalette::Text, Qt::transparent);  // the name is drawn once, by the panel
  edit->setPalette(p);
  surface_->update(edit->geometry());
}

void CVKREditorDlg::pushNameToEdit() {
  if (QLineEdit* edit = controls_->nameEdit(); edit && edit->text() != patchName_)
    edit->setText(patchName_);
}

void CVKREditorDlg::commitName() {
  // The edit also loses the focus while the window goes away, after the link has gone.
  const CCustomButton* save = controls_->saveToLibrary();
  if (!router_ || !save || !save->isEnabled() || (compare_ && compare_->active())) return;
  if (QLineEdit* edit = controls_->nameEdit()) patchName_ = edit->text().left(64);
  const QByteArray bytes = patchName_.toLatin1();  // patch names are Latin-1 bytes
  router_->writer().setName(std::string_view(bytes.constData(), size_t(bytes.size())));
  redrawName();
  undo_->capture();
}

void CVKREditorDlg::nameChanged() {
  if (!router_ || (compare_ && compare_->active())) return;
  if (QLineEdit* edit = controls_->nameEdit()) patchName_ = edit->text().left(64);
  PatchTouched();
  DeviceLink::instance().setEdited(true);
  redrawName();
}

void CVKREditorDlg::redrawName() {
  QLineEdit* edit = controls_->nameEdit();
  if (!edit) return;
  if (painter_->nameCentred()) {
    painter_->clearCentredName();
    QPalette p = edit->palette();
    p.setColor(QPalette::Text, Qt::white);
    edit->setPalette(p);
  }
  surface_->update(edit->geometry());
}

// ---------------------------------------------------------------------------------------------
// Menu commands, files

// The accessibility layer reaches the menus also while a box or dialog is up; a command would
// then run inside it. Only Quit is taken then, and waits for the box (closeEvent).
void CVKREditorDlg::runMenuCommand(int command) {
  if (command != MainMenu::Quit && (anotherWindowModal() || closing_)) return;
  runCommand([&] { onCommand(command); }, SoundCompare::keptBy(command));
  if (compare_) compare_->showState();  // the item has toggled itself
}

void CVKREditorDlg::onCommand(int command) {
  if (command >= MainMenu::Volume1 && command <= MainMenu::Volume5) {
    onUsbVolume(command - MainMenu::Volume1);
    return;
  }
  if (onLibraryCommand(command)) return;
  switch (command) {
    case MainMenu::Quit:
      QTimer::singleShot(0, this, &QWidget::close);
      break;
    case MainMenu::Help:
      emit helpRequested();
      break;
    case MainMenu::About:
      emit aboutRequested();
      break;
    case MainMenu::Undo:
    case MainMenu::Redo:
      undoOrRedo(command);
      break;
    case MainMenu::Cut:
    case MainMenu::Copy:
    case MainMenu::Paste:
      editCommands_->run(command);
      break;
    case MainMenu::Preferences:
      PreferencesCommand(*this).run();
      break;
    case MainMenu::Compare:
      if (compare_) compare_->toggle();
      break;
    case MainMenu::ShowDifferences:
      if (controls_) DifferencesCommand(*this).run();  // nothing to compare before the set-up
      break;
    default:
      break;
  }
}

// The File menu's library commands and the list's "Clear"; false for any other command.
bool CVKREditorDlg::onLibraryCommand(int command) {
  const std::map<int, std::function<void()>> commands = {
      {MainMenu::New, [this] { libraryReplaced(library_.commandNew()); }},
      {MainMenu::Open, [this] { libraryReplaced(library_.commandOpen()); }},
      {MainMenu::Save, [this] { library_.commandSave(); }},
      {MainMenu::SaveAs, [this] { library_.commandSaveAs(); }},
      {MainMenu::SaveToLibrary, [this] { flows_->SaveToLibrary(); }},
      {MainMenu::Import, [this] { flows_->Import(); }},
      {MainMenu::Export, [this] { flows_->Export(); }},
      {kClearSlot, [this] { flows_->ClearSlot(); }},
      {MainMenu::Find, [this] { slotCommands_->Find(); }},
  };
  const auto found = commands.find(command);
  if (found == commands.end()) return false;
  if (controls_) found->second();  // nothing to work on before the set-up
  return true;
}

// New and Open start the history over once past their question.
void CVKREditorDlg::libraryReplaced(bool replaced) {
  if (replaced) undo_->reset();
}

void CVKREditorDlg::onUsbVolume(int value) {
  // The item has toggled itself: the marks stay as they were until the volume has gone out.
  menu_->checkUsbVolume(menu_->usbVolumeMark());
  DeviceLink::instance().sendSetting(2, static_cast<uint8_t>(value));
  menu_->checkUsbVolume(value);
}

bool CVKREditorDlg::HandOver(const QString& path) {
  if (closed_ || closing_ || closePending_) return false;
  // Forward at once, also over a box that keeps the file waiting.
  if (initialized_) comeForward();
  if (path.isEmpty()) return true;
  handOvers_.push_back(path);
  whenFree();
  return true;
}

// Hand-overs are taken one at a time, in the order they came; one that opens a box waits for
// it, and the ones that arrive meanwhile wait behind it.
void CVKREditorDlg::takeHandOvers() {
  while (!handOvers_.empty() && ready_ && !closed_ && !busy()) {
    const QString path = handOvers_.front();
    handOvers_.pop_front();
    runCommand([&] { OpenFile(path); });
  }
}

void CVKREditorDlg::comeForward() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void CVKREditorDlg::OpenFile(const QString& path, std::optional<int> droppedOnRow) {
  const fs::path file = toPath(path);
  if (isSyxFile(file)) {
    openSyx(file, droppedOnRow);
    return;
  }
  switch (fileKindOf(file)) {
    case FileKind::Library:
      libraryReplaced(library_.openFile(file));
      break;
    case FileKind::Patch:
      flows_->OpenPatchFile(file, droppedOnRow);
      break;
    case FileKind::Unsupported:
      showHint(strings::UnsupportedFile);
      break;
  }
}

// A SysEx file: dropped on the list, its patches fill the slots from the row it fell on (else
// the selected row, the current slot, the first slot); anywhere else its one patch becomes the
// current sound.
void CVKREditorDlg::openSyx(const fs::path& file, std::optional<int> droppedOnRow) {
  LibraryExchange exchange(*this);
  if (!droppedOnRow) {
    exchange.OpenSyxAsCurrent(file);
    return;
  }
  const CVKRListBox* list = controls_->libraryList();
  const int selected = list ? list->GetCurSel() : -1;
  const int current = library_.currentSlot();
  const int first = *droppedOnRow >= 0 ? *droppedOnRow
                    : selected >= 0    ? selected
                                       : std::max(current, 0);
  exchange.ImportFiles({file}, first);
}

void CVKREditorDlg::DropFiles(const QList<QUrl>& urls, std::optional<int> onRow) {
  QWidget* modal = QApplication::activeModalWidget();
  if (urls.isEmpty() || !initialized_ || closed_ || (modal && modal != this)) return;
  const QString path = urls.first().toLocalFile();  // only the first file counts
  if (path.isEmpty()) return;
  runCommand([&] { OpenFile(path, onRow); });
}

void CVKREditorDlg::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CVKREditorDlg::dragMoveEvent(QDragMoveEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CVKREditorDlg::dropEvent(QDropEvent* e) {
  if (!e->mimeData()->hasUrls()) return;
  e->acceptProposedAction();
  const QList<QUrl> urls = e->mimeData()->urls();
  CVKRListBox* list = controls_ ? controls_->libraryList() : nullptr;
  const QPoint at = e->position().toPoint();
  const QWidget* under = childAt(at);
  std::optional<int> onRow;
  if (list && under && (under == list || list->isAncestorOf(under)))
    onRow = list->ItemFromPoint(list->mapFrom(this, at));
  // The drag source waits for the drop to return: the dialogs of the drop open afterwards.
  QTimer::singleShot(0, this, [this, urls, onRow] { DropFiles(urls, onRow); });
}

// ---------------------------------------------------------------------------------------------
// Events

bool CVKREditorDlg::event(QEvent* e) {
  const auto type = e->type();
  if (type == WM_DEVICE_EVENT || type == WM_PULLDOWN_CHANGED || type == WM_LIST_SCROLL_DOWN ||
      type == WM_LIST_SCROLL_UP) {
    const auto* m = static_cast<const WindowMessage*>(e);
    barrier_.run([&] {
      if (type == WM_DEVICE_EVENT) {
        if (deviceEvents_ && !closed_)
          deviceEvents_->handle(static_cast<int>(m->WParam()), static_cast<int>(m->LParam()));
      } else if (type == WM_PULLDOWN_CHANGED) {
        onPullDownChanged(static_cast<int>(m->WParam()), static_cast<int>(m->LParam()));
      } else {
        scrollListBy(type == WM_LIST_SCROLL_DOWN ? 1 : -1);
      }
    });
    return true;
  }
  if (type == DeviceEventHandler::kDeviceListChanged) {
    barrier_.run([&] {
      if (deviceEvents_ && !closed_) deviceEvents_->deviceListChanged();
    });
    return true;
  }
  try {
    return QDialog::event(e);
  } catch (...) {
    barrier_.reportCurrent();
    return true;
  }
}

void CVKREditorDlg::keyPressEvent(QKeyEvent* e) {
  // Escape and Enter never close the window.
  e->accept();
}

// ---------------------------------------------------------------------------------------------
// Closing

bool CVKREditorDlg::unsavedChangesConfirmed(int stringId) {
  if (!library_.hasPendingChanges()) return true;
  return askYesNo(stringId);
}

bool CVKREditorDlg::anotherWindowModal() const {
  const QWidget* modal = QApplication::activeModalWidget();
  return modal && modal != this;
}

bool CVKREditorDlg::busy() const {
  return barrier_.running() || closing_ || !isEnabled() || anotherWindowModal();
}

void CVKREditorDlg::whenFree() {
  if (!ready_ || closed_ || (!closePending_ && handOvers_.empty())) return;
  // Inside a handler the barrier calls back when it returns; a box of someone else's is looked
  // at again shortly.
  if (barrier_.running()) return;
  constexpr int kModalRecheckMs = 100;
  QTimer::singleShot(busy() ? kModalRecheckMs : 0, this, &CVKREditorDlg::onFree);
}

void CVKREditorDlg::onFree() {
  if (!ready_ || closed_) return;
  if (busy()) {
    whenFree();
    return;
  }
  takeHandOvers();
  if (closePending_ && !busy()) {
    closePending_ = false;
    close();
  }
}

// A close that comes while a box or dialog is up (Quit reached by a shortcut or an assistive
// tool) waits until it has returned: the steps after it still need the device link. The window
// then closes as usual (with the question when there are unsaved changes).
void CVKREditorDlg::closeEvent(QCloseEvent* e) {
  if (closed_) {
    e->accept();
    return;
  }
  // Files already taken from a second start are opened first.
  if (busy() || (initialized_ && !ready_) || !handOvers_.empty()) {
    e->ignore();
    closePending_ = true;
    whenFree();
    return;
  }
  bool close = false;
  closing_ = true;
  barrier_.run([&] {
    if (compare_) compare_->end();
    close = unsavedChangesConfirmed(texts::kAskQuit);
  });
  closing_ = false;
  if (!close) {
    e->ignore();
    return;
  }
  storeClosingSettings();
  detachFromDevice();
  closed_ = true;
  e->accept();
  QDialog::done(QDialog::Accepted);
}

void CVKREditorDlg::storeClosingSettings() {
  CVKRPrefData settings = CVKRPrefData::instance();
  const QPoint where = isMinimized() || isMaximized() ? normalGeometry().topLeft() : pos();
  settings.setPosition(where.x(), where.y());
  settings.setLibraryPath(library_.configuredPath().string());
  CVKRPrefData::instance() = settings;
  emit settingsAboutToBeWritten();
  if (settingsWritable_) CVKRPrefData::instance().write();
}

void CVKREditorDlg::detachFromDevice() {
  if (deviceEvents_) deviceEvents_->stopWatching();
  router_.reset();
  DeviceLink::instance().removeListener(&DeviceEventHandler::Listener);
  DeviceLink::destroy();
  // Events the link posted before it went are of no use any more.
  QCoreApplication::removePostedEvents(this, WM_DEVICE_EVENT);
}

// ---------------------------------------------------------------------------------------------
// The library's host

IMessageBoxes::Request CVKREditorDlg::question(int stringId, IMessageBoxes::Icon icon,
                                               int buttons) {
  IMessageBoxes::Request request;
  request.owner = this;
  request.caption = kTitle;
  request.text = texts::text(stringId);
  request.icon = icon;
  request.buttons = buttons;
  return request;
}

int CVKREditorDlg::ask(int stringId, IMessageBoxes::Icon icon, int buttons, bool saveLabels) {
  IMessageBoxes::Request request = question(stringId, icon, buttons);
  request.saveLabels = saveLabels;
  return boxes_.ask(request);
}

bool CVKREditorDlg::askYesNo(int stringId) {
  return ask(stringId, IMessageBoxes::Icon::Exclamation, IMessageBoxes::Yes | IMessageBoxes::No) ==
         IMessageBoxes::Yes;
}

void CVKREditorDlg::showHint(int stringId) {
  ask(stringId, IMessageBoxes::Icon::Exclamation, IMessageBoxes::Ok);
}

void CVKREditorDlg::reportFailure(const CGenericException& failure) {
  barrier_.run([&] { throw failure; });
}

std::optional<fs::path> CVKREditorDlg::chooseLibrary(bool toSave) {
  const FileDialogs dialogs(boxes_, this);
  return toSave ? dialogs.saveLibrary() : dialogs.openLibrary();
}

std::optional<fs::path> CVKREditorDlg::chooseLibraryToOpen() {
  return chooseLibrary(false);
}

std::optional<fs::path> CVKREditorDlg::chooseLibraryToSave() {
  return chooseLibrary(true);
}

std::optional<fs::path> CVKREditorDlg::chooseStarterLibrary() {
  const QString folder = StarterLibrary::folder();
  if (folder.isEmpty()) return std::nullopt;
  return FileDialogs(boxes_, this).openLibrary(folder);
}

bool CVKREditorDlg::patchEdited() const {
  return DeviceLink::instance().edited();
}

// Edited (in no slot) and unsent (on no amplifier).
bool CVKREditorDlg::soundOnlyHere() const {
  const DeviceLink& link = DeviceLink::instance();
  return link.edited() && link.unsent();
}

void CVKREditorDlg::setPatchEdited(bool edited) {
  DeviceLink::instance().setEdited(edited);
}

PatchData CVKREditorDlg::currentPatch() const {
  return DeviceLink::instance().mirror();
}

void CVKREditorDlg::loadCurrentPatch(const PatchData& patch) {
  DeviceLink& link = DeviceLink::instance();
  link.setMirror(patch);
  setPatchName(QString::fromLatin1(orv::patchName(patch).c_str()));
  // The library made at start-up is no command of the user's: the amplifier keeps its sound.
  if (!setUpDone_) return;
  // An amplifier unplugged at this moment must not leave the command half done: the panel, the
  // library and the edited flag are brought in line first, the failure is reported after.
  try {
    link.sendWholePatch();
  } catch (...) {
    if (!heldBackSend_) heldBackSend_ = std::current_exception();
  }
}

void CVKREditorDlg::runCommand(const std::function<void()>& command, bool keepsCompare) {
  barrier_.run([&] {
    try {
      if (compare_ && !keepsCompare) compare_->end();
      command();
    } catch (...) {
      heldBackSend_ = nullptr;  // the command's own failure is the one shown
      undo_->capture(0, true);
      menu_->setEnabled(MainMenu::Save, library_.saveEnabled());
      throw;
    }
    undo_->capture(0, true);
    menu_->setEnabled(MainMenu::Save, library_.saveEnabled());
    throwHeldBackSendFailure();
  });
}

void CVKREditorDlg::throwHeldBackSendFailure() {
  if (std::exception_ptr failure = std::exchange(heldBackSend_, nullptr))
    std::rethrow_exception(failure);
}

void CVKREditorDlg::libraryShown() {
  if (CVKRListBox* list = controls_->libraryList()) {
    // The rows are rebuilt where the list stood; the current slot's row is brought into view.
    const int top = list->GetTopIndex();
    list->ResetContent();
    for (const std::string& row : library_.rows())
      list->AddString(QString::fromLatin1(row.c_str()));
    list->SetTopIndex(top);
    const int current = library_.currentSlot();
    list->SetCurSel(current);
    if (current >= 0 &&
        (current < list->GetTopIndex() || current >= list->GetTopIndex() + list->FullRows()))
      list->SetTopIndex(std::max(current - list->FullRows() / 2, 0));
    if (CVKRScrollBar* bar = controls_->scrollBar()) {
      bar->SetRange(0, list->GetCount());
      bar->UpdateThumbHeight();
      bar->SetValue(list->GetTopIndex());
      surface_->update(bar->RepaintArea());
    }
  }
  if (QLabel* name = controls_->libraryName())
    name->setText(QString::fromLocal8Bit(library_.name().c_str()));
}

void CVKREditorDlg::showMessage(int stringId, IMessageReporter::Icon icon) {
  IMessageBoxes::Icon shown = IMessageBoxes::Icon::Information;
  switch (icon) {
    case IMessageReporter::Icon::Stop:
      shown = IMessageBoxes::Icon::Stop;
      break;
    case IMessageReporter::Icon::Exclamation:
      shown = IMessageBoxes::Icon::Exclamation;
      break;
    case IMessageReporter::Icon::Question:
      shown = IMessageBoxes::Icon::Question;
      break;
    case IMessageReporter::Icon::Information:
      break;
  }
  ask(stringId, shown, IMessageBoxes::Ok);
}

void CVKREditorDlg::markLibrarySetUp() {
  CVKRPrefData::instance().setSaved(1);
}

}  // namespace orv
