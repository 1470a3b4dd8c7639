#include "controls/AccessibleFactory.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "controls/AccessibleButton.h"
#include "controls/AccessibleDial.h"
#include "controls/AccessibleListBox.h"
#include "controls/AccessiblePicture.h"
#include "controls/AccessiblePullDown.h"
#include "controls/AccessibleReadout.h"
#include "controls/AccessibleScrollBar.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"

namespace orv {

void AccessibleFactory::Install() {
  static const bool installed = [] {
    QAccessible::installFactory(&AccessibleFactory::Create);
    return true;
  }();
  (void)installed;
}

QAccessibleInterface* AccessibleFactory::Create(const QString&, QObject* object) {
  if (auto* dial = qobject_cast<CVKRDial*>(object)) return new AccessibleDial(dial);
  if (auto* bar = qobject_cast<CVKRScrollBar*>(object)) return new AccessibleScrollBar(bar);
  if (auto* picture = qobject_cast<CVKRImage*>(object)) return new AccessiblePicture(picture);
  if (auto* pullDown = qobject_cast<CVKRPullDownMenu*>(object))
    return new AccessiblePullDown(pullDown);
  if (auto* button = qobject_cast<CCustomButton*>(object)) return new AccessibleButton(button);
  if (auto* list = qobject_cast<CVKRListBox*>(object)) return new AccessibleListBox(list);
  if (auto* display = qobject_cast<CVKRNumberEditText*>(object))
    return new AccessibleReadout(display);
  return nullptr;
}

}  // namespace orv
