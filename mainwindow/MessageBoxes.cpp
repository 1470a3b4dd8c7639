#include "mainwindow/MessageBoxes.h"

#include <QFileDialog>

namespace orv {

std::optional<QString> IMessageBoxes::chooseFile(const FileRequest& request) {
  QFileDialog dialog(request.owner, QString(), QString(), request.filter);
  dialog.setObjectName(request.name);
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The caller asks before a file is replaced, once the final name is known.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
  if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace orv
