#include "app/UnattendedMessageBoxes.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPixmap>
#include <cstdio>

namespace orv {

int UnattendedMessageBoxes::ask(const Request& request) {
  QString text = request.text;
  if (!request.details.isEmpty()) text += QStringLiteral(" (%1)").arg(request.details);
  text.replace(u'\n', u' ');
  std::fprintf(stderr, "orv-editor: %s\n", qPrintable(text));
  // On the way to a dialog's picture a question like "save first?" is declined, so that the
  // command goes on to its own dialog and not to another one.
  const int order[] = {pictureFile_.isEmpty() ? Yes : No, Ok, pictureFile_.isEmpty() ? No : Yes};
  for (int answer : order)
    if (request.buttons & answer) return answer;
  return Cancel;
}

int UnattendedMessageBoxes::runModal(QDialog& dialog) {
  if (pictureFile_.isEmpty()) return QDialog::Rejected;
  dialog.show();
  QCoreApplication::processEvents();
  pictured_ = dialog.grab().save(pictureFile_, "PNG");
  if (!pictured_) std::fprintf(stderr, "orv-editor: cannot write %s\n", qPrintable(pictureFile_));
  pictureFile_.clear();
  dialog.hide();
  return QDialog::Rejected;
}

}  // namespace orv
