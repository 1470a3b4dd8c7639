#include "mainwindow/QtMessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace orv {

namespace {

QMessageBox::Icon toQt(IMessageBoxes::Icon icon) {
  switch (icon) {
    case IMessageBoxes::Icon::Stop:
      return QMessageBox::Critical;
    case IMessageBoxes::Icon::Exclamation:
      return QMessageBox::Warning;
    case IMessageBoxes::Icon::Question:
      return QMessageBox::Question;
    case IMessageBoxes::Icon::Information:
      break;
  }
  return QMessageBox::Information;
}

}  // namespace

int QtMessageBoxes::ask(const Request& request) {
  QMessageBox box(request.owner);
  // A plain dialog: a title and a close button, nothing to maximise or minimise (the box fixes
  // its own size to its text when shown).
  box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  box.setIcon(toQt(request.icon));
  box.setWindowTitle(request.caption.isEmpty() ? QApplication::applicationName() : request.caption);
  box.setText(request.text);
  if (!request.details.isEmpty()) box.setInformativeText(request.details);
  if (request.aboveAll) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  struct Choice {
    int button;
    QMessageBox::StandardButton standard;
    const char* label;
    const char* saveLabel;
  };
  // Every button carries a mnemonic, whatever the platform's own labels have.
  constexpr Choice kChoices[] = {{Ok, QMessageBox::Ok, "&OK", "&OK"},
                                 {Yes, QMessageBox::Yes, "&Yes", "&Save"},
                                 {No, QMessageBox::No, "&No", "&No Save"},
                                 {Cancel, QMessageBox::Cancel, "&Cancel", "&Cancel"}};
  for (const Choice& c : kChoices) {
    if (!(request.buttons & c.button)) continue;
    QPushButton* b = box.addButton(c.standard);
    b->setText(QString::fromLatin1(request.saveLabels ? c.saveLabel : c.label));
  }
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const Choice& c : kChoices)
    if (c.standard == clicked) return c.button;
  return request.buttons & Cancel ? Cancel : (request.buttons & No ? No : Ok);
}

int QtMessageBoxes::runModal(QDialog& dialog) {
  return dialog.exec();
}

}  // namespace orv
