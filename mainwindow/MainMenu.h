#pragma once
#include <QHash>
#include <QObject>
#include <QSet>

class QAction;
class QMenu;
class QMenuBar;

namespace orv {

// The main window's menu bar: File, Edit, USB Volume and Help, every item known by its command
// number. Items start as the menu resource has them (Save, Save To Library and the whole USB
// Volume menu grayed). A command the window does not handle stays grayed whatever its enabling
// rule says.
class MainMenu : public QObject {
  Q_OBJECT
 public:
  enum Command : int {
    New = 57600,
    Open = 57601,
    Save = 57603,
    SaveAs = 32774,
    SaveToLibrary = 32801,
    Import = 32775,
    Export = 32776,
    Quit = 32777,
    Undo = 57643,
    Redo = 57644,
    Cut = 57635,
    Copy = 57634,
    Paste = 57637,
    Preferences = 32783,
    Find = 32820,
    Compare = 32821,
    ShowDifferences = 32822,
    Volume1 = 32809,  // "Volume:1" .. "Volume:5" are 32809 .. 32813
    Volume5 = 32813,
    Help = 32784,
    About = 32785,
  };

  // Fills `bar`; `handled` are the commands the window carries out.
  MainMenu(QMenuBar* bar, const QSet<int>& handled, QObject* parent = nullptr);

  QAction* action(int command) const { return actions_.value(command); }
  QMenu* usbVolumeMenu() const { return usbVolume_; }
  bool isEnabled(int command) const;
  void setEnabled(int command, bool enabled);

  // The USB Volume popup (menu bar position 2) as a whole.
  void setUsbVolumeEnabled(bool enabled);
  bool usbVolumeEnabled() const;
  // Exactly one of the five volume items carries the check mark: 32809 + value.
  void checkUsbVolume(int value);
  int checkedUsbVolume() const;  // -1 when none is checked
  // The value last given to checkUsbVolume() (-1 before the first), whatever a click on an item
  // has toggled since.
  int usbVolumeMark() const { return usbVolumeMark_; }

 signals:
  void triggered(int command);

 private:
  QAction* add(QMenu* menu, int command, const QString& text, const char* shortcut = nullptr);

  QMenuBar* bar_;
  QSet<int> handled_;
  QHash<int, QAction*> actions_;
  QMenu* usbVolume_ = nullptr;
  int usbVolumeMark_ = -1;
};

}  // namespace orv
