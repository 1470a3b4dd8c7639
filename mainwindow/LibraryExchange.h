#pragma once
#include <filesystem>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

class CVKREditorDlg;

// Many patches at once: the chosen slots out as one patch file (.ZBP) each into a folder or as
// one standard SysEx file (.syx), several patch and SysEx files into consecutive slots, and a
// SysEx file dropped outside the list as the current sound.
//
// Every file is read and checked before anything changes; a failure is thrown (the window's
// barrier shows it) with the library as it was. A patch from a .syx takes the connected
// amplifier's model code, or 0xFF when none is known.
class LibraryExchange {
 public:
  explicit LibraryExchange(CVKREditorDlg& dlg) : dlg_(dlg) {}

  // The patches of `paths` into the slots from `first` on. Asks once before slots that are not
  // "Empty" are replaced; the current sound is not touched. False when nothing was stored.
  bool ImportFiles(const std::vector<std::filesystem::path>& paths, int first);
  // Asks how (one .syx, or a .ZBP each into a folder) and where, then writes.
  void ExportSlots(const std::vector<int>& chosen);
  // A .syx holding exactly one Bulk Dump becomes the current, edited sound (after the save
  // question, as a patch file would); one with several is refused with the format error.
  void OpenSyxAsCurrent(const std::filesystem::path& path);

 private:
  std::vector<LibraryEntry> readAll(const std::vector<std::filesystem::path>& paths) const;
  uint8_t modelForSyx() const;
  bool replaceConfirmed(int first, std::size_t count);
  void writeFolder(const std::vector<int>& chosen, const std::filesystem::path& folder) const;

  CVKREditorDlg& dlg_;
};

}  // namespace orv
