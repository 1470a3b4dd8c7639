#pragma once
#include <QString>
#include <filesystem>
#include <optional>

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

  std::optional<std::filesystem::path> openLibrary() const;
  std::optional<std::filesystem::path> saveLibrary() const;
  std::optional<std::filesystem::path> openPatch() const;
  // `proposedName` is offered as the file name.
  std::optional<std::filesystem::path> savePatch(const QString& proposedName) const;

  // `path` with ".<extension>" added unless its file name already ends with it (any case).
  static QString withExtension(const QString& path, const QString& extension);
  // A path given as text (from Qt) in the file system's own encoding.
  static std::filesystem::path toPath(const QString& path);

 private:
  std::optional<std::filesystem::path> choose(bool save, bool library,
                                              const QString& proposedName) const;
  bool mayReplace(const QString& path) const;

  IMessageBoxes& boxes_;
  QWidget* owner_;
};

}  // namespace orv
