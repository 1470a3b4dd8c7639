#include "app/UnattendedMessageBoxes.h"

#include <QDialog>
#include <cstdio>

namespace orv {

int UnattendedMessageBoxes::ask(const Request& request) {
  QString text = request.text;
  if (!request.details.isEmpty()) text += QStringLiteral(" (%1)").arg(request.details);
  text.replace(u'\n', u' ');
  std::fprintf(stderr, "orv-editor: %s\n", qPrintable(text));
  for (int answer : {Yes, Ok, No})
    if (request.buttons & answer) return answer;
  return Cancel;
}

int UnattendedMessageBoxes::runModal(QDialog&) {
  return QDialog::Rejected;
}

}  // namespace orv
