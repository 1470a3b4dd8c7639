#pragma once
#include <QHash>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;

namespace orv {

class CCustomButton;
class CRapidbutton;
class CVKRDial;
class CVKRImage;
class CVKRListBox;
class CVKRNumberEditText;
class CVKRPullDownMenu;
class CVKRScrollBar;

// The panel's controls by identifier. The widgets are children of the panel surface, which owns
// them; this registry only finds them.
class PanelControls {
 public:
  // Identifiers with a role of their own.
  enum Id : int {
    kSaveToLibrary = 1004,
    kLibraryList = 1012,
    kNameEdit = 1076,
    kLibraryName = 1077,
    kAmpTypeKnob = 1078,
    kConnectionIndicator = 1273,
    kRatioScale = 1276,
    kScrollDown = 1284,
    kScrollUp = 1285,
    kScrollBar = 1287,
  };

  void add(int id, QWidget* widget);
  QWidget* widget(int id) const { return byId_.value(id); }
  template <class T>
  T* get(int id) const {
    return qobject_cast<T*>(widget(id));
  }

  CVKRDial* dial(int id) const;
  CCustomButton* button(int id) const;
  CVKRImage* picture(int id) const;
  CVKRNumberEditText* display(int id) const;
  CVKRPullDownMenu* pullDown(int id) const;
  QLabel* label(int id) const;

  CVKRDial* ampTypeKnob() const { return dial(kAmpTypeKnob); }
  CVKRListBox* libraryList() const;
  CVKRScrollBar* scrollBar() const;
  CRapidbutton* scrollDown() const;
  CRapidbutton* scrollUp() const;
  QLineEdit* nameEdit() const;
  QLabel* libraryName() const;
  CCustomButton* saveToLibrary() const { return button(kSaveToLibrary); }
  CCustomButton* connectionIndicator() const { return button(kConnectionIndicator); }

  // Every dial, in identifier order.
  const std::vector<CVKRDial*>& dials() const { return dials_; }

 private:
  QHash<int, QWidget*> byId_;
  std::vector<CVKRDial*> dials_;
};

}  // namespace orv
