#include "mainwindow/EditCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>

#include "mainwindow/MainMenu.h"

namespace orv {

namespace {

bool clipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

// A one-line field takes a pasted text up to its first line break.
QString firstLine(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == u'\r' || text[i] == u'\n') return text.left(i);
  return text;
}

}  // namespace

EditCommands::EditCommands(QWidget& window) : window_(window) {
  QObject::connect(qApp, &QApplication::focusChanged, &window_, [this](QWidget*, QWidget* now) {
    if (now && !qobject_cast<QMenuBar*>(now) && window_.isAncestorOf(now)) lastFocus_ = now;
  });
}

QLineEdit* EditCommands::focusedField() const {
  // The window's own focus child: a popup menu being open does not change it. The menu bar
  // reached by keyboard takes the focus; the rules then concern the control it came from.
  QWidget* focus = window_.focusWidget();
  if (qobject_cast<QMenuBar*>(focus)) focus = lastFocus_;
  return qobject_cast<QLineEdit*>(focus);
}

bool EditCommands::fieldFocused() const {
  const QLineEdit* field = focusedField();
  return field && field->isVisible();
}

bool EditCommands::enabled(int command) const {
  const QLineEdit* field = focusedField();
  if (!field || !field->isVisible()) return false;
  switch (command) {
    case MainMenu::Undo:
      return field->isUndoAvailable();
    case MainMenu::Redo:
      return field->isRedoAvailable();
    case MainMenu::Cut:
    case MainMenu::Copy:
      return field->hasSelectedText();
    case MainMenu::Paste:
      return clipboardHasText();
    default:
      return false;
  }
}

void EditCommands::run(int command) {
  if (!enabled(command)) return;
  QLineEdit* field = focusedField();
  switch (command) {
    case MainMenu::Undo:
      field->undo();
      break;
    case MainMenu::Redo:
      field->redo();
      break;
    case MainMenu::Cut:
      field->cut();
      break;
    case MainMenu::Copy:
      field->copy();
      break;
    case MainMenu::Paste: {
      const QString text = QGuiApplication::clipboard()->text();
      const QString line = firstLine(text);
      if (line.size() == text.size())
        field->paste();
      else
        field->insert(line);
      break;
    }
    default:
      break;
  }
}

}  // namespace orv
