#pragma once
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

class QWidget;

namespace orv {

class IMessageBoxes;

// The editor's file dialogs for library (.ZBL) and patch (.ZBP) files, run through the message
// boxes. The filters list both the upper- and the lower-case extension; a name chosen for saving
// gets the upper-case extension unless it already ends with it (in any case), and replacing an
// existing file is asked about on that final name.
class FileDialogs {
 public:
  FileDialogs(IMessageBoxes& boxes, QWidget* owner) : boxes_(boxes), owner_(owner) {}

  // `directory`: the folder the dialog starts in (empty: the dialog's own choice).
  std::optional<std::filesystem::path> openLibrary(const QString& directory = {}) const;
  std::optional<std::filesystem::path> saveLibrary() const;
  std::optional<std::filesystem::path> openPatch() const;
  // `proposedName` is offered as the file name.
  std::optional<std::filesystem::path> savePatch(const QString& proposedName) const;
  // Several patch files (.ZBP) and standard SysEx files (.syx) at once, for Import.
  std::vector<std::filesystem::path> openPatches() const;
  // A SysEx file (.syx) to write.
  std::optional<std::filesystem::path> saveSyx(const QString& proposedName) const;
  // A folder to write patch files into.
  std::optional<std::filesystem::path> chooseFolder() const;

  // `path` with ".<extension>" added unless its file name already ends with it (any case).
  static QString withExtension(const QString& path, const QString& extension);
  // A path given as text (from Qt) in the file system's own encoding.
  static std::filesystem::path toPath(const QString& path);

 private:
  std::optional<std::filesystem::path> choose(bool save, bool library, const QString& proposedName,
                                              const QString& directory = {}) const;
  bool mayReplace(const QString& path) const;

  IMessageBoxes& boxes_;
  QWidget* owner_;
};

}  // namespace orv
