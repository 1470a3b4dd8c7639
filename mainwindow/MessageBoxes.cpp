#include "mainwindow/MessageBoxes.h"

#include <QFileDialog>

namespace orv {

namespace {

void setUp(QFileDialog& dialog, const IMessageBoxes::FileRequest& request, bool several) {
  dialog.setObjectName(request.name);
  if (request.folder) {
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
  } else if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The caller asks before a file is replaced, once the final name is known.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
}

}  // namespace

std::optional<QString> IMessageBoxes::chooseFile(const FileRequest& request) {
  QFileDialog dialog(request.owner, QString(), request.directory, request.filter);
  setUp(dialog, request, false);
  if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QStringList> IMessageBoxes::chooseFiles(const FileRequest& request) {
  QFileDialog dialog(request.owner, QString(), request.directory, request.filter);
  setUp(dialog, request, true);
  if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles();
}

}  // namespace orv
