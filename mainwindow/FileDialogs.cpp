#include "mainwindow/FileDialogs.h"

#include <QFile>
#include <QFileInfo>

#include "mainwindow/MessageBoxes.h"

namespace orv {

namespace fs = std::filesystem;

std::optional<fs::path> FileDialogs::openLibrary(const QString& directory) const {
  return choose(false, true, {}, directory);
}

std::optional<fs::path> FileDialogs::saveLibrary() const {
  return choose(true, true, {});
}

std::optional<fs::path> FileDialogs::openPatch() const {
  return choose(false, false, {});
}

std::optional<fs::path> FileDialogs::savePatch(const QString& proposedName) const {
  return choose(true, false, proposedName);
}

std::optional<fs::path> FileDialogs::choose(bool save, bool library, const QString& proposedName,
                                            const QString& directory) const {
  const QString extension = library ? QStringLiteral("ZBL") : QStringLiteral("ZBP");
  IMessageBoxes::FileRequest request;
  request.owner = owner_;
  request.save = save;
  request.name = QString(save ? "save" : "open") + (library ? "Library" : "Patch");
  request.filter = QStringLiteral("%1 Files (*.%2 *.%3)")
                       .arg(library ? "Library" : "Patch", extension, extension.toLower());
  request.defaultSuffix = extension;
  request.proposedName = proposedName;
  request.directory = directory;
  const std::optional<QString> chosen = boxes_.chooseFile(request);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return toPath(save ? withExtension(*chosen, extension) : *chosen);
}

std::vector<fs::path> FileDialogs::openPatches() const {
  IMessageBoxes::FileRequest request;
  request.owner = owner_;
  request.name = QStringLiteral("openPatches");
  request.filter = QStringLiteral(
      "Patch and SysEx Files (*.ZBP *.zbp *.syx *.SYX);;Patch Files (*.ZBP *.zbp);;"
      "SysEx Files (*.syx *.SYX)");
  std::vector<fs::path> paths;
  if (const auto chosen = boxes_.chooseFiles(request))
    for (const QString& file : *chosen)
      if (!file.isEmpty()) paths.push_back(toPath(file));
  return paths;
}

std::optional<fs::path> FileDialogs::saveSyx(const QString& proposedName) const {
  IMessageBoxes::FileRequest request;
  request.owner = owner_;
  request.save = true;
  request.name = QStringLiteral("saveSyx");
  request.filter = QStringLiteral("SysEx Files (*.syx *.SYX)");
  request.defaultSuffix = QStringLiteral("syx");
  request.proposedName = proposedName;
  const std::optional<QString> chosen = boxes_.chooseFile(request);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return toPath(withExtension(*chosen, QStringLiteral("syx")));
}

std::optional<fs::path> FileDialogs::chooseFolder() const {
  IMessageBoxes::FileRequest request;
  request.owner = owner_;
  request.folder = true;
  request.name = QStringLiteral("exportFolder");
  const std::optional<QString> chosen = boxes_.chooseFile(request);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return toPath(*chosen);
}

QString FileDialogs::withExtension(const QString& path, const QString& extension) {
  const QString fileName = QFileInfo(path).fileName();
  // A leading dot alone (".hidden") is a name, not an extension.
  if (fileName.lastIndexOf(u'.') > 0) return path;
  return path + u'.' + extension;
}

fs::path FileDialogs::toPath(const QString& path) {
  return fs::path(QFile::encodeName(path).toStdString());
}

}  // namespace orv
