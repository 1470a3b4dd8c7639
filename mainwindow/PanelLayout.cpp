#include "mainwindow/PanelLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>

#include "controls/Rapidbutton.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"
#include "controls/WindowEvents.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PatchNameGuard.h"
#include "mainwindow/SkinImages.h"
#include "patch/NameLists.h"
#include "patch/ValueText.h"
#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"

namespace orv {

namespace {

QRect toRect(const LayoutRect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

// Ranges and stepping of the dials before any patch is shown (the refresh narrows or widens
// them per section type). Number displays take the range of their dial (identifier + 10).
struct DialSetup {
  int min = 0;
  int max = 100;
  bool log = false;
  bool hundredRule = false;
};

DialSetup dialSetup(int id) {
  switch (id) {
    case 1078:
      return {0, 7};
    case 1144:
      return {0, 5};
    case 1201:
      return {1, 9999};
    case 1203:
    case 1234:
      return {1000, 16001, true};
    case 1204:
    case 1233:
      return {21, 8000, true};
    case 1231:
      return {3, 200, false, true};
    case 1232:
      return {1, 2000};
    case 1235:
      return {1, 10};
    case 1236:
      return {1, 14};
    default:
      return {};
  }
}

// The value-text identifier of a number display: the parameter it shows under the default
// section types.
int displayFormat(int id) {
  if (id >= 1101 && id <= 1105) return 1002 + (id - 1101);
  if (id >= 1131 && id <= 1135) return 1009 + (id - 1131);
  if (id >= 1161 && id <= 1165) return 1019 + (id - 1161);
  if (id >= 1191 && id <= 1195) return 1035 + (id - 1191);
  if (id >= 1221 && id <= 1227) return 1042 + (id - 1221);
  if (id >= 1251 && id <= 1252) return 1053 + (id - 1251);
  return 0;
}

int pullDownKind(int id) {
  switch (id) {
    case 1033:
      return 0;
    case 1034:
      return 1;
    case 1035:
      return 2;
    case 1036:
      return 3;
    case 1147:
      return 5;
    default:
      return 4;  // cabinet
  }
}

CCustomButton::Cells buttonCells(int id, int image) {
  CCustomButton::Cells c;
  if (id >= 1087 && id <= 1094) {  // amplifier-type names: lit or dark
    c.normalOn = {0, 0};
    c.normalOff = c.pressedOff = c.pressedOn = {0, 14};
  } else if (id >= 1019 && id <= 1023) {  // section switches
    c.normalOff = {0, 0};
    c.hoverOff = {0, 46};
    c.hoverOn = {0, 92};
    c.pressedOff = {0, 138};
    c.pressedOn = {0, 184};
    c.normalOn = {0, 230};
  } else if (id == PanelControls::kConnectionIndicator) {
    c.normalOff = c.pressedOff = {0, 0};
    c.normalOn = c.pressedOn = {0, 41};
  } else if (id == PanelControls::kSaveToLibrary) {
    c.normalOff = {0, 0};
    c.normalOn = {0, 24};
    c.pressedOff = c.pressedOn = {0, 48};
  } else if (image == 204 || image == 205) {  // list scroll arrows
    c.pressedOff = c.pressedOn = {0, 22};
  } else {  // pull-downs
    c.normalOff = {0, 0};
    c.hoverOn = {0, 24};
    c.pressedOff = c.pressedOn = {0, 48};
    c.normalOn = {0, 72};
  }
  return c;
}

QSize buttonCellSize(int id, int image) {
  if (id >= 1087 && id <= 1094) {
    const ImageInfo* spec = ImageInventory::find(image);
    return QSize(spec ? spec->width : 0, 14);
  }
  if (id >= 1019 && id <= 1023) return {27, 46};
  if (id == PanelControls::kConnectionIndicator) return {153, 41};
  if (id == PanelControls::kSaveToLibrary) return {24, 24};
  if (image == 204 || image == 205) return {12, 11};
  if (id == 1147) return {61, 24};
  return {100, 24};
}

class Builder {
 public:
  Builder(QWidget* surface, IVKRControlListener& controls, IVKREditListener& edits, QObject* target)
      : surface_(surface), controlListener_(controls), editListener_(edits), target_(target) {}

  std::unique_ptr<PanelControls> build() {
    auto panel = std::make_unique<PanelControls>();
    for (const ControlLayout& l : LayoutData::controls()) {
      QWidget* w = create(l);
      if (!w) continue;
      if (l.flags & kLayoutHidden) w->hide();
      if (l.flags & kLayoutDisabled) w->setEnabled(false);
      panel->add(l.id, w);
    }
    // The images last: they may still be decoding on the worker threads.
    for (const auto& [holder, id] : images_) SkinImages::load(*holder, id);
    return panel;
  }

 private:
  QWidget* create(const ControlLayout& l) {
    switch (l.kind) {
      case ControlKind::Dial:
        return dial(l);
      case ControlKind::Button:
        return button(new CCustomButton(surface_), l);
      case ControlKind::RepeatButton:
        return repeatButton(l);
      case ControlKind::PullDown:
        return pullDown(l);
      case ControlKind::Picture:
        return picture(l);
      case ControlKind::NumberDisplay:
        return display(l);
      case ControlKind::Label:
        return label(l);
      case ControlKind::ListBox:
        return listBox(l);
      case ControlKind::ScrollBar:
        return scrollBar(l);
      case ControlKind::EditBox:
        return nameEdit(l);
      case ControlKind::StaticText:
        return staticText(l);
    }
    return nullptr;
  }

  QWidget* dial(const ControlLayout& l) {
    auto* d = new CVKRDial(surface_);
    d->SetId(l.id);
    loadLater(d->Image(), l.image);
    loadLater(d->BackImage(), PanelLayout::kBackground);
    if (const ImageInfo* strip = ImageInventory::find(l.image))
      d->SetFrameGeometry(l.image == 187 ? 46 : 56, strip->cellHeight, strip->cellCount);
    const DialSetup s = dialSetup(l.id);
    d->SetRange(s.min, s.max);
    d->SetValue(s.min);
    d->SetLogScale(s.log);
    d->SetHundredRule(s.hundredRule);
    if (l.id == PanelControls::kAmpTypeKnob) {
      d->SetStepped(true);
      d->SetEllipticArea(true);
    }
    d->Place(toRect(l.pixels));
    d->SetListener(&controlListener_);
    return d;
  }

  QWidget* button(CCustomButton* b, const ControlLayout& l) {
    b->SetId(l.id);
    loadLater(b->Face(), l.image);
    loadLater(b->Background(), PanelLayout::kBackground);
    b->SetCells(buttonCells(l.id, l.image));
    const QSize cell = buttonCellSize(l.id, l.image);
    b->SetCellSize(cell.width(), cell.height());
    const bool toggles = (l.id >= 1087 && l.id <= 1094) || (l.id >= 1019 && l.id <= 1023);
    b->SetToggleMode(toggles ? 1 : 0);
    b->Place(toRect(l.pixels));
    // The switches, the amp-type names and Save To Library take the focus when clicked (so a
    // pending name or number entry is committed first) and toggle with Space.
    const bool takesFocus = toggles || l.id == PanelControls::kSaveToLibrary;
    b->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    return b;
  }

  QWidget* repeatButton(const ControlLayout& l) {
    auto* b = new CRapidbutton(surface_);
    button(b, l);
    b->SetTarget(target_);
    b->SetMessage(l.id == PanelControls::kScrollDown ? WM_LIST_SCROLL_DOWN : WM_LIST_SCROLL_UP);
    b->SetInitialDelay(500);
    return b;
  }

  QWidget* pullDown(const ControlLayout& l) {
    auto* p = new CVKRPullDownMenu(surface_);
    p->SetItemSource([](int kind) { return pullDownItems(kind); });
    p->SetListKind(pullDownKind(l.id));
    p->FillItems();
    button(p, l);
    p->SetToggleMode(0);
    p->SetMessageTarget(target_);
    p->setFocusPolicy(Qt::ClickFocus);
    return p;
  }

  QWidget* picture(const ControlLayout& l) {
    auto* p = new CVKRImage(surface_);
    p->SetId(l.id);
    loadLater(p->Image(), l.image);
    loadLater(p->BackImage(), PanelLayout::kBackground);
    p->Place(toRect(l.pixels));
    p->SetListener(&controlListener_);
    p->setAttribute(Qt::WA_TransparentForMouseEvents);
    return p;
  }

  QWidget* display(const ControlLayout& l) {
    auto* d = new CVKRNumberEditText(surface_);
    d->SetId(l.id);
    loadLater(d->BackImage(), l.image);
    const DialSetup s = dialSetup(l.id + 10);
    d->SetRange(s.min, s.max);
    d->SetValue(s.min);
    d->SetLogScale(s.log);
    d->SetHundredRule(s.hundredRule);
    d->SetFormatId(displayFormat(l.id));
    d->SetFormatter([](int id, int value) { return formatValue(id, value); });
    d->SetParser([](int id, std::string_view text) { return parseValue(id, text); });
    d->Place(toRect(l.pixels));
    d->SetListener(&editListener_);
    return d;
  }

  QWidget* label(const ControlLayout& l) {
    auto* t = new QLabel(QString::fromUtf8(l.text.data(), qsizetype(l.text.size())), surface_);
    t->setGeometry(toRect(l.pixels));
    return t;
  }

  QWidget* listBox(const ControlLayout& l) {
    auto* list = new CVKRListBox(surface_);
    loadLater(list->RowImage(), l.image);
    list->setGeometry(toRect(l.pixels));
    return list;
  }

  QWidget* scrollBar(const ControlLayout& l) {
    auto* bar = new CVKRScrollBar(surface_);
    bar->SetId(l.id);
    loadLater(bar->Image(), l.image);
    loadLater(bar->BackImage(), 232);
    bar->SetOrientation(1);
    bar->SetThumbWidth(8);
    bar->SetThumbOffset(1, 1);
    bar->SetRange(0, 100);
    bar->Place(toRect(l.pixels));
    bar->UpdateThumbHeight();
    bar->SetListener(&controlListener_);
    return bar;
  }

  QWidget* nameEdit(const ControlLayout& l) {
    auto* e = new QLineEdit(surface_);
    PatchNameGuard::guard(e);
    e->setFrame(false);
    e->setAttribute(Qt::WA_TranslucentBackground);
    e->setAutoFillBackground(false);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Text, Qt::white);
    e->setPalette(p);
    e->setGeometry(toRect(l.pixels));
    return e;
  }

  QWidget* staticText(const ControlLayout& l) {
    auto* t = new QLabel(surface_);
    QPalette p = t->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    t->setPalette(p);
    t->setGeometry(toRect(l.pixels));
    return t;
  }

  void loadLater(CImageEx& holder, int id) { images_.emplace_back(&holder, id); }

  QWidget* surface_;
  std::vector<std::pair<CImageEx*, int>> images_;
  IVKRControlListener& controlListener_;
  IVKREditListener& editListener_;
  QObject* target_;
};

}  // namespace

std::vector<int> PanelLayout::images() {
  std::vector<int> ids{kBackground, 232};
  for (const ControlLayout& l : LayoutData::controls())
    if (l.image && std::find(ids.begin(), ids.end(), l.image) == ids.end()) ids.push_back(l.image);
  return ids;
}

std::unique_ptr<PanelControls> PanelLayout::create(QWidget* surface, IVKRControlListener& controls,
                                                   IVKREditListener& edits,
                                                   QObject* messageTarget) {
  return Builder(surface, controls, edits, messageTarget).build();
}

}  // namespace orv
