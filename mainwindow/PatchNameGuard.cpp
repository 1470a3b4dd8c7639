#include "mainwindow/PatchNameGuard.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

#include "patch/PatchData.h"

namespace orv {

void PatchNameGuard::guard(QLineEdit* edit) {
  new PatchNameGuard(edit);
}

PatchNameGuard::PatchNameGuard(QLineEdit* edit) : QObject(edit), edit_(edit) {
  edit->setMaxLength(int(patch::kNameLength));
  connect(edit, &QLineEdit::textEdited, this, &PatchNameGuard::edited);
  connect(edit, &QLineEdit::inputRejected, this, &PatchNameGuard::refused);
}

const QString& PatchNameGuard::rule() {
  static const QString text = QStringLiteral(
      "A patch name holds up to 64 characters: letters A-Z and a-z, digits, spaces and the "
      "punctuation of plain ASCII.");
  return text;
}

void PatchNameGuard::edited(const QString& text) {
  QString kept;
  kept.reserve(text.size());
  int cursor = edit_->cursorPosition();
  for (int i = 0; i < text.size(); ++i) {
    if (holds(text[i]))
      kept += text[i];
    else if (i < edit_->cursorPosition())
      --cursor;
  }
  if (kept.size() == text.size()) return;
  edit_->setText(kept);
  edit_->setCursorPosition(cursor);
  refused();
}

void PatchNameGuard::refused() {
  QApplication::beep();
  QToolTip::showText(edit_->mapToGlobal(QPoint(0, edit_->height())), rule(), edit_);
}

}  // namespace orv
