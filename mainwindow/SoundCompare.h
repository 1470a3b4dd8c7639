#pragma once
#include <QString>

#include "patch/PatchData.h"

namespace orv {

class CVKREditorDlg;
class LibraryDocument;

// The sound an edited one is measured against: as last loaded (from the amplifier, a slot or a
// file) or stored. `slot` names the current slot when that slot still holds exactly this sound,
// else -1. (The current slot alone is no guide: a cancelled or refused pick moves it too.)
struct StoredSound {
  PatchData data;
  int slot = -1;
};

// Edit > Compare: the amplifier plays the stored sound while the edited one waits aside.
//
// The stored sound is the sound as last loaded (from the amplifier, a slot or a file) or stored,
// see StoredSound. While comparing the
// panel shows it, the patch name reads "Compare: <name>" and the sound's controls are locked;
// the library list, its scrolling and the menus stay usable. Nothing is stored, and the edited
// flag stays the edited sound's, so every question sees that sound as if comparing had not
// happened.
//
// Comparing ends by the command again or Escape, and before any command that edits, stores,
// loads or quits: the edited sound goes back to the panel and the amplifier. A disconnection puts
// it back into the device link's mirror only (the amplifier does not have it: unsent). A knob
// turned on the amplifier ends comparing too and lands in the edited sound, which the amplifier
// then plays.
class SoundCompare {
 public:
  explicit SoundCompare(CVKREditorDlg& dlg) : dlg_(dlg) {}

  bool active() const { return active_; }
  // The command may be used: while comparing, or with an amplifier connected.
  bool available() const;
  // Menu commands that run with comparing left on; any other ends it first.
  static bool keptBy(int command);
  static StoredSound storedSound(const LibraryDocument& library);

  // The command: starts comparing, or ends it.
  void toggle();
  // The edited sound back on the panel and the amplifier (nothing when not comparing).
  void end();
  // The menu item's check mark shows whether comparing is on.
  void showState();

  // Device events while comparing (nothing when not comparing).
  void disconnected();
  // False for a change the amplifier reported before it was given the stored sound: that change
  // is already in the edited sound, and comparing goes on.
  bool amplifierChanged();
  // The amplifier sent a whole patch: it replaces the current sound as it would without
  // comparing; comparing stops.
  void soundReplaced();
  // A change from a locked control got through: the panel shows the compared sound again.
  void refuseChange();

 private:
  void start();
  // The edited sound, `edited`, becomes the link's mirror again; sent when `send`.
  void restore(const PatchData& edited, bool send);
  void show(const PatchData& patch);
  void markName();
  void lock(bool locked);
  void closeEntries();

  CVKREditorDlg& dlg_;
  bool active_ = false;
  PatchData edited_;    // the edited sound, aside while comparing
  PatchData compared_;  // the stored sound the amplifier was given
  bool nameWasCentred_ = false;
};

}  // namespace orv
