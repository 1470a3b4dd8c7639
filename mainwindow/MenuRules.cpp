#include "mainwindow/MenuRules.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "mainwindow/MainMenu.h"

namespace orv {

MenuRules::MenuRules(QMenuBar& bar, MainMenu& menu, QObject* parent)
    : QObject(parent), menu_(menu) {
  for (QAction* top : bar.actions())
    if (QMenu* popup = top->menu())
      connect(popup, &QMenu::aboutToShow, this, [this, popup] { update(*popup); });
}

void MenuRules::set(int command, Rule rule) {
  rules_.insert(command, std::move(rule));
}

void MenuRules::update(QMenu& popup) {
  for (QAction* item : popup.actions())
    if (!item->isSeparator() && !item->menu()) update(item->data().toInt());
}

bool MenuRules::update(int command) {
  const auto rule = rules_.constFind(command);
  if (rule != rules_.constEnd()) menu_.setEnabled(command, (*rule)());
  return menu_.isEnabled(command);
}

}  // namespace orv
