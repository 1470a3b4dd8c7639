#include "mainwindow/PanelControls.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "controls/Rapidbutton.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"

namespace orv {

void PanelControls::add(int id, QWidget* widget) {
  byId_.insert(id, widget);
  if (auto* d = qobject_cast<CVKRDial*>(widget)) {
    dials_.push_back(d);
    std::sort(dials_.begin(), dials_.end(),
              [](const CVKRDial* a, const CVKRDial* b) { return a->GetId() < b->GetId(); });
  }
}

CVKRDial* PanelControls::dial(int id) const {
  return get<CVKRDial>(id);
}
CCustomButton* PanelControls::button(int id) const {
  return get<CCustomButton>(id);
}
CVKRImage* PanelControls::picture(int id) const {
  return get<CVKRImage>(id);
}
CVKRNumberEditText* PanelControls::display(int id) const {
  return get<CVKRNumberEditText>(id);
}
CVKRPullDownMenu* PanelControls::pullDown(int id) const {
  return get<CVKRPullDownMenu>(id);
}
QLabel* PanelControls::label(int id) const {
  return get<QLabel>(id);
}
CVKRListBox* PanelControls::libraryList() const {
  return get<CVKRListBox>(kLibraryList);
}
CVKRScrollBar* PanelControls::scrollBar() const {
  return get<CVKRScrollBar>(kScrollBar);
}
CRapidbutton* PanelControls::scrollDown() const {
  return get<CRapidbutton>(kScrollDown);
}
CRapidbutton* PanelControls::scrollUp() const {
  return get<CRapidbutton>(kScrollUp);
}
QLineEdit* PanelControls::nameEdit() const {
  return get<QLineEdit>(kNameEdit);
}
QLabel* PanelControls::libraryName() const {
  return get<QLabel>(kLibraryName);
}

}  // namespace orv
