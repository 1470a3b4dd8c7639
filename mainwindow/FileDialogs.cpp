#include "mainwindow/FileDialogs.h"

#include <QFile>
#include <QFileInfo>

#include "mainwindow/MessageBoxes.h"

namespace orv {

namespace fs = std::filesystem;

std::optional<fs::path> FileDialogs::openLibrary() const {
  return choose(false, true, {});
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

std::optional<fs::path> FileDialogs::choose(bool save, bool library,
                                            const QString& proposedName) const {
  const QString extension = library ? QStringLiteral("ZBL") : QStringLiteral("ZBP");
  IMessageBoxes::FileRequest request;
  request.owner = owner_;
  request.save = save;
  request.name = QString(save ? "save" : "open") + (library ? "Library" : "Patch");
  request.filter = QStringLiteral("%1 Files (*.%2 *.%3)")
                       .arg(library ? "Library" : "Patch", extension, extension.toLower());
  request.defaultSuffix = extension;
  request.proposedName = proposedName;
  for (;;) {
    const std::optional<QString> chosen = boxes_.chooseFile(request);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    if (!save) return toPath(*chosen);
    // The question is asked here, on the name with its extension, not by the file dialog on
    // the name as typed.
    const QString final = withExtension(*chosen, extension);
    if (!QFileInfo::exists(final) || mayReplace(final)) return toPath(final);
    request.proposedName = final;
  }
}

bool FileDialogs::mayReplace(const QString& path) const {
  IMessageBoxes::Request question;
  question.owner = owner_;
  question.caption = QStringLiteral("Confirm Save As");
  question.text = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                      .arg(QFileInfo(path).fileName());
  question.icon = IMessageBoxes::Icon::Exclamation;
  question.buttons = IMessageBoxes::Yes | IMessageBoxes::No;
  return boxes_.ask(question) == IMessageBoxes::Yes;
}

QString FileDialogs::withExtension(const QString& path, const QString& extension) {
  const QString fileName = QFileInfo(path).fileName();
  const QString ending = u'.' + extension;
  // Any other dot ("Vol. 2", "Lead 1.5") is part of the name; ".ZBP" alone is a name too.
  if (fileName.size() > ending.size() && fileName.endsWith(ending, Qt::CaseInsensitive))
    return path;
  return path + ending;
}

fs::path FileDialogs::toPath(const QString& path) {
  return fs::path(QFile::encodeName(path).toStdString());
}

}  // namespace orv
