#include "mainwindow/InputFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "controls/Rapidbutton.h"
#include "controls/VKRListBox.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/VKREditorDlg.h"

namespace orv {

InputFilter::InputFilter(CVKREditorDlg& dlg) : dlg_(dlg) {
  qApp->installEventFilter(this);
}

InputFilter::~InputFilter() {
  qApp->removeEventFilter(this);
}

bool InputFilter::inWindow(QObject* watched) const {
  auto* w = qobject_cast<QWidget*>(watched);
  return w && (w == &dlg_ || dlg_.isAncestorOf(w));
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
      break;
    default:
      return false;
  }
  if (!inWindow(watched)) return false;
  bool consumed = false;
  dlg_.barrier().run([&] {
    PanelControls& c = dlg_.controls();
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      for (CRapidbutton* b : {c.scrollDown(), c.scrollUp()})
        if (b) b->StopRepeat();
    }
    if (watched == c.nameEdit()) consumed = nameEditEvent(event);
  });
  return consumed;
}

bool InputFilter::nameEditEvent(QEvent* event) {
  QLineEdit* edit = dlg_.controls().nameEdit();
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (QWidget* list = dlg_.controls().libraryList()) list->setFocus(Qt::OtherFocusReason);
        return true;
      }
      dlg_.redrawName();
      return false;
    }
    case QEvent::ContextMenu:
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto button = static_cast<QMouseEvent*>(event)->button();
      if (button == Qt::RightButton) return true;
      if (button == Qt::LeftButton) {
        dlg_.redrawName();
        edit->setCursorPosition(0);
      }
      return false;
    }
    case QEvent::MouseMove:
      if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) dlg_.redrawName();
      return false;
    default:
      return false;
  }
}

}  // namespace orv
