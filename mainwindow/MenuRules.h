#pragma once
#include <QHash>
#include <QObject>
#include <functional>

class QMenu;
class QMenuBar;

namespace orv {

class MainMenu;

// The enabling rules that are asked rather than set: whenever a popup of the menu bar opens,
// each of its items that has a rule is enabled or grayed by what the rule answers now. Items
// without a rule keep the state their explicit calls gave them. An accelerator asks the rule of
// its item the same way before it acts, as if the menu had been opened.
class MenuRules : public QObject {
  Q_OBJECT
 public:
  using Rule = std::function<bool()>;

  MenuRules(QMenuBar& bar, MainMenu& menu, QObject* parent = nullptr);

  void set(int command, Rule rule);
  // Asks the rules of the items of `popup`.
  void update(QMenu& popup);
  // Asks the rule of one item (if it has one); true when the item is enabled afterwards.
  bool update(int command);

 private:
  MainMenu& menu_;
  QHash<int, Rule> rules_;
};

}  // namespace orv
