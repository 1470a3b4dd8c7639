#include "mainwindow/SoundCompare.h"

#include <QLabel>
#include <QLineEdit>
#include <QSet>

#include "controls/AccessibleGate.h"
#include "controls/CustomButton.h"
#include "controls/Rapidbutton.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEdit.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRScrollBar.h"
#include "device/DeviceLink.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelPainter.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/LibraryDocument.h"

namespace orv {

namespace {

const QString kMark = QStringLiteral("Compare: ");

}  // namespace

bool SoundCompare::available() const {
  return active_ || (DeviceLink::instance().isConnected() && dlg_.connectedIndicator());
}

bool SoundCompare::keptBy(int command) {
  // Nothing here edits, stores or loads the sound.
  return command == MainMenu::Compare || command == MainMenu::Help || command == MainMenu::About ||
         command == MainMenu::Preferences ||
         (command >= MainMenu::Volume1 && command <= MainMenu::Volume5);
}

void SoundCompare::toggle() {
  if (active_)
    end();
  else
    start();
}

void SoundCompare::showState() {
  dlg_.menu().action(MainMenu::Compare)->setChecked(active_);
}

StoredSound SoundCompare::storedSound(const LibraryDocument& doc) {
  StoredSound stored{DeviceLink::instance().baseline()};
  const Library& library = doc.library();
  const int slot = doc.currentSlot();
  if (slot >= 0 && std::size_t(slot) < library.size() &&
      library.slot(std::size_t(slot)).data == stored.data)
    stored.slot = slot;
  return stored;
}

void SoundCompare::start() {
  if (active_ || !available()) return;
  // A name being typed and a value being typed are part of the edited sound or of nothing.
  dlg_.commitName();
  closeEntries();
  DeviceLink& link = DeviceLink::instance();
  compared_ = storedSound(dlg_.library()).data;
  edited_ = link.exchangeMirror(compared_);
  nameWasCentred_ = dlg_.painter().nameCentred();
  active_ = true;
  lock(true);
  show(compared_);
  markName();
  showState();
  // A failed send is reported; the amplifier is then going, and its disconnection ends comparing.
  link.sendWholePatch();
}

void SoundCompare::end() {
  if (!active_) return;
  DeviceLink::instance().exchangeMirror(edited_);
  restore(edited_, true);
}

void SoundCompare::disconnected() {
  if (!active_) return;
  // Marked unsent: an amplifier that comes back is offered the edited sound.
  DeviceLink::instance().exchangeMirror(edited_);
  restore(edited_, false);
}

bool SoundCompare::amplifierChanged() {
  if (!active_) return true;
  // Whatever was turned on the amplifier since it got the stored sound goes into the edited one,
  // in one step with the mirror so that a change arriving meanwhile is not overwritten.
  PatchData result;
  bool turned = false;
  DeviceLink::instance().withMirror([&](PatchData& mirror) {
    result = edited_;
    for (std::size_t i = 0; i < PatchData::kSize; ++i) {
      if (mirror[i] == compared_[i]) continue;
      result[i] = mirror[i];
      turned = true;
    }
    if (turned) mirror = result;
  });
  if (turned) restore(result, true);
  return turned;
}

void SoundCompare::soundReplaced() {
  if (!active_) return;
  active_ = false;
  lock(false);
  showState();
}

void SoundCompare::refuseChange() {
  if (!active_) return;
  show(DeviceLink::instance().mirror());
  markName();
}

void SoundCompare::restore(const PatchData& edited, bool send) {
  active_ = false;
  lock(false);
  show(edited);
  if (nameWasCentred_) dlg_.showCentredName();
  showState();
  if (send) DeviceLink::instance().sendWholePatch();
}

void SoundCompare::show(const PatchData& patch) {
  LibraryEntry record;
  record.data = patch;
  dlg_.refresher().ShowRecord(record);
}

void SoundCompare::markName() {
  QLineEdit* edit = dlg_.controls().nameEdit();
  if (!edit) return;
  edit->setMaxLength(int(kMark.size() + patch::kNameLength));
  edit->setText(kMark + dlg_.patchName());
  edit->setCursorPosition(0);
}

// The controls of the sound take no change; the library list, its scrolling and Save To Library
// stay usable (their commands end comparing first).
void SoundCompare::lock(bool locked) {
  PanelControls& c = dlg_.controls();
  const QSet<QWidget*> usable = {c.libraryList(), c.scrollBar(),     c.scrollDown(),
                                 c.scrollUp(),    c.saveToLibrary(), c.libraryName()};
  for (QWidget* w : dlg_.surface().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!usable.contains(w)) AccessibleGate::SetLocked(w, locked);
  if (QLineEdit* edit = c.nameEdit()) {
    edit->setReadOnly(locked);
    if (!locked) edit->setMaxLength(int(patch::kNameLength));
  }
}

void SoundCompare::closeEntries() {
  for (CVKRNumberEditText* d : dlg_.surface().findChildren<CVKRNumberEditText*>())
    if (d->IsEntryOpen()) d->Entry()->Discard();
}

}  // namespace orv
