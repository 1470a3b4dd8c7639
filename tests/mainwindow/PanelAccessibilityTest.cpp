#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <algorithm>
#include <vector>

#include "controls/AccessibleEvents.h"
#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "device/DeviceLink.h"
#include "device/ParameterMap.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelSurface.h"
#include "patch/Library.h"

namespace orv {
namespace {

using test::MainWindowHarness;

QAccessibleInterface* face(QWidget* w) {
  return QAccessible::queryAccessibleInterface(w);
}

QString name(QWidget* w) {
  return face(w)->text(QAccessible::Name);
}

// Every accessible object under `root` that an assistive tool shows (not invisible).
void collectShown(QAccessibleInterface* root, std::vector<QAccessibleInterface*>& out) {
  for (int i = 0; i < root->childCount(); ++i) {
    QAccessibleInterface* child = root->child(i);
    if (!child || child->state().invisible) continue;
    out.push_back(child);
    collectShown(child, out);
  }
}

// Value changes heard by an in-process observer.
struct Heard {
  QObject* object;
  int value;
};
std::vector<Heard> g_heard;
void hear(QAccessibleEvent* e) {
  if (e->type() == QAccessible::ValueChanged)
    g_heard.push_back({e->object(), static_cast<QAccessibleValueChangeEvent*>(e)->value().toInt()});
}

TEST(PanelAccessibility, EveryShownControlIsNamedAndHasItsRoleOnEveryModel) {
  for (char model : {'0', '1', '2', '3', '4'}) {
    SCOPED_TRACE(model);
    MainWindowHarness h;
    CVKREditorDlg& dlg = model == '0' ? h.open() : h.openConnected(model);
    dlg.show();
    PanelControls& c = dlg.controls();

    std::vector<QAccessibleInterface*> shown;
    collectShown(face(&dlg.surface()), shown);
    ASSERT_GT(shown.size(), 150u);  // the panel's controls and the 100 library rows
    for (QAccessibleInterface* i : shown) {
      const auto* label = qobject_cast<QLabel*>(i->object());
      if (label && label->text().isEmpty()) continue;  // an empty label has nothing to read
      EXPECT_FALSE(i->text(QAccessible::Name).isEmpty())
          << "role " << i->role() << " object "
          << (i->object() ? i->object()->metaObject()->className() : "item");
    }

    EXPECT_EQ(face(c.ampTypeKnob())->role(), QAccessible::Dial);
    EXPECT_EQ(name(c.ampTypeKnob()), model == '4' ? "Mic Type" : "Amp Type");
    EXPECT_EQ(face(c.button(1019))->role(), QAccessible::CheckBox);
    EXPECT_EQ(name(c.button(1021)), model == '3' ? "Tape Echo on" : "Delay on");
    EXPECT_EQ(name(c.button(1023)), "Noise Gate on");
    EXPECT_EQ(face(c.button(1087))->role(), QAccessible::RadioButton);
    EXPECT_EQ(face(c.pullDown(1036))->role(), QAccessible::ComboBox);
    EXPECT_EQ(name(c.pullDown(1036)), "Reverb");
    EXPECT_EQ(face(c.display(1102))->role(), QAccessible::StaticText);
    EXPECT_EQ(name(c.display(1102)), "Master");
    EXPECT_EQ(name(c.dial(1205)), "Level") << "the delay's Level knob, also where model 3 moves it";
    EXPECT_EQ(face(c.libraryList())->role(), QAccessible::List);
    EXPECT_EQ(face(c.saveToLibrary())->role(), QAccessible::Button);
    EXPECT_EQ(name(c.nameEdit()), "Patch name");
  }
}

TEST(PanelAccessibility, CaptionsFollowTheSectionTypeAndTheAcousticFirstKnob) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('4');
  PanelControls& c = dlg.controls();
  h.sim->turnKnob(params::kAmpType, 0);
  ASSERT_TRUE(h.tickUntil([&] { return c.ampTypeKnob()->GetValue() == 0; }));
  EXPECT_EQ(name(c.dial(1111)), "Gain");
  h.sim->turnKnob(params::kAmpType, 2);
  ASSERT_TRUE(h.tickUntil([&] { return c.ampTypeKnob()->GetValue() == 2; }));
  EXPECT_EQ(name(c.dial(1111)), "Blend");
  EXPECT_EQ(face(c.ampTypeKnob())->text(QAccessible::Value), "TUBE");

  // The reverb's Spring type has other knobs than its Hall.
  h.sim->turnKnob(params::kReverbType, patch::Hall);
  ASSERT_TRUE(h.tickUntil([&] { return name(c.dial(1232)) == "Pre Delay"; }));
}

TEST(PanelAccessibility, SettingADialActsAsAGestureAndReadsLikeItsReadOut) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  PanelControls& c = dlg.controls();
  h.sim->clearReceived();
  CVKRDial* master = c.dial(1112);
  QAccessibleValueInterface* value = face(master)->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->currentValue().toInt(), master->GetValue());
  EXPECT_EQ(value->minimumValue().toInt(), 0);
  EXPECT_EQ(value->maximumValue().toInt(), 100);

  value->setCurrentValue(42);
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kMaster], 42) << "the Parameter Change reached the amplifier";
  EXPECT_EQ(c.display(1102)->GetValue(), 42);
  EXPECT_EQ(face(master)->text(QAccessible::Value), c.display(1102)->DisplayText());
  EXPECT_EQ(face(master)->text(QAccessible::Value), "4.2");
  EXPECT_EQ(c.libraryList()->GetCurSel(), -1) << "the patch counts as touched";

  face(master)->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kMaster], 43);

  // A knob of a section that is switched off does not turn, as for the mouse.
  CVKRDial* gateKnob = c.dial(1261);
  ASSERT_FALSE(gateKnob->isEnabled());
  const int before = gateKnob->GetValue();
  face(gateKnob)->valueInterface()->setCurrentValue(before + 10);
  EXPECT_EQ(gateKnob->GetValue(), before);
}

TEST(PanelAccessibility, KnobTurnedOnTheAmplifierIsHeard) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  CVKRDial* bass = dlg.controls().dial(1113);
  g_heard.clear();
  const AccessibleEvents::Observer before = AccessibleEvents::SetObserver(&hear);
  h.sim->turnKnob(1004, 77);
  const bool moved = h.tickUntil([&] { return bass->GetValue() == 77; });
  AccessibleEvents::SetObserver(before);
  ASSERT_TRUE(moved);
  bool heard = false;
  for (const Heard& e : g_heard) heard = heard || (e.object == bass && e.value == 77);
  EXPECT_TRUE(heard);
}

TEST(PanelAccessibility, SwitchStateAndIndicatorNameFollowTheAmplifier) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();
  EXPECT_EQ(name(c.connectionIndicator()), "Not connected");

  h.startSimulator();
  ASSERT_TRUE(h.tickUntil([&] { return dlg.connectedIndicator(); }));
  EXPECT_EQ(name(c.connectionIndicator()), "Connected");

  CCustomButton* effect = c.button(1020);
  h.sim->turnKnob(params::kEffectOn, patch::kOn);
  ASSERT_TRUE(h.tickUntil([&] { return effect->GetState() == 1; }));
  EXPECT_TRUE(face(effect)->state().checked);
  h.sim->turnKnob(params::kEffectOn, patch::kOff);
  ASSERT_TRUE(h.tickUntil([&] { return effect->GetState() == 0; }));
  EXPECT_FALSE(face(effect)->state().checked);

  // Pressing it is a click: the switch turns the effect on at the amplifier.
  face(effect)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kEffectOn], patch::kOn);
  EXPECT_TRUE(face(effect)->state().checked);
}

TEST(PanelAccessibility, TheLibraryListHasItsRowsAndAPressPicksOne) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  CVKRListBox* list = dlg.controls().libraryList();
  QAccessibleInterface* iface = face(list);
  ASSERT_EQ(iface->childCount(), 100);
  EXPECT_EQ(iface->child(0)->text(QAccessible::Name), "001 Empty");
  EXPECT_EQ(iface->child(99)->role(), QAccessible::ListItem);
  EXPECT_EQ(iface->indexOfChild(iface->child(42)), 42);

  LibraryEntry named;
  initPatch("Picked", named.data);
  dlg.library().library().slot(42) = named;
  dlg.libraryShown();
  QSignalSpy picked(list, &CVKRListBox::SelectionChanged);
  iface->child(42)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  ASSERT_EQ(picked.count(), 1) << "reported as a click reports it";
  EXPECT_EQ(picked.at(0).at(0).toInt(), 42);
  EXPECT_EQ(dlg.library().currentSlot(), 42) << "the window loads the slot as for a click";
  EXPECT_EQ(patchName(DeviceLink::instance().mirror()), "Picked");
  EXPECT_TRUE(iface->child(42)->state().selected);
  EXPECT_FALSE(iface->child(41)->state().selected);
  EXPECT_EQ(iface->text(QAccessible::Value), "043 Picked");
  // Row 43 lies beyond the first screen: the list scrolled until the whole row shows.
  EXPECT_GT(list->GetTopIndex(), 0) << "scrolled";
  EXPECT_LE(list->GetTopIndex(), 42);
  EXPECT_TRUE(list->rect().contains(list->ItemRect(42))) << "the row shows whole";
}

TEST(PanelAccessibility, APressReturnsAtOnceAndItsDialogOpensFromTheEventLoop) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.boxes.dialogsRun.clear();
  face(dlg.controls().saveToLibrary())
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(h.boxes.dialogsRun.empty()) << "the tool waited for the dialog to close";
  QCoreApplication::processEvents();
  EXPECT_EQ(h.boxes.dialogsRun.size(), 1u) << "Save To Library opened its dialog";
}

TEST(PanelAccessibility, HiddenControlsAndControlsUnderAModalBoxRefuseTheTool) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('4');
  dlg.show();
  PanelControls& c = dlg.controls();
  dlg.libraryShown();
  c.libraryList()->SetCurSel(2);
  h.service->flush();
  h.sim->clearReceived();
  const int type = c.ampTypeKnob()->GetValue();
  auto press = [](QWidget* w) {
    face(w)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
  };

  CCustomButton* hiddenType = c.button(1094);  // model '4' shows five amplifier types
  ASSERT_TRUE(hiddenType && hiddenType->isEnabled() && !hiddenType->isVisible());
  press(hiddenType);
  CVKRDial* hiddenKnob = nullptr;
  for (CVKRDial* d : c.dials())
    if (d->isEnabled() && !d->isVisible()) hiddenKnob = d;
  ASSERT_NE(hiddenKnob, nullptr);
  const int knob = hiddenKnob->GetValue();
  face(hiddenKnob)->valueInterface()->setCurrentValue(knob == 0 ? 1 : 0);

  // A message box of the window is up: neither a row nor a visible knob takes a press or value.
  QMessageBox modal(&dlg);
  modal.setModal(true);
  modal.show();
  QAccessibleInterface* row = face(c.libraryList())->child(7);
  EXPECT_TRUE(row->actionInterface()->actionNames().isEmpty());
  row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  CVKRDial* master = c.dial(1112);
  const int masterBefore = master->GetValue();
  face(master)->valueInterface()->setCurrentValue(masterBefore == 50 ? 51 : 50);
  h.boxes.dialogsRun.clear();
  dlg.menu().action(MainMenu::SaveToLibrary)->trigger();  // the menus are reachable too
  modal.hide();

  h.service->flush();
  EXPECT_EQ(c.ampTypeKnob()->GetValue(), type);
  EXPECT_EQ(hiddenKnob->GetValue(), knob);
  EXPECT_EQ(master->GetValue(), masterBefore);
  EXPECT_EQ(c.libraryList()->GetCurSel(), 2) << "no row picked, and the patch not touched";
  EXPECT_TRUE(h.sim->received().empty()) << "nothing reached the amplifier";
  EXPECT_TRUE(h.boxes.dialogsRun.empty()) << "Save To Library ran inside the box";
}

// The identifiers of the controls Tab reaches from the patch name, in order, `count` of them.
std::vector<int> tabWalk(CVKREditorDlg& dlg, std::size_t count) {
  PanelControls& c = dlg.controls();
  std::vector<int> walked;
  for (QWidget* w = c.nameEdit(); w && walked.size() < count; w = w->nextInFocusChain()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(&dlg)) continue;
    for (int id = 1000; id < 1300; ++id)
      if (c.widget(id) == w) walked.push_back(id);
    if (w == c.saveToLibrary()) break;
  }
  return walked;
}

TEST(PanelAccessibility, TabWalksThePanelInReadingOrder) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  const std::vector<int> amp{1076, 1091, 1090, 1089, 1088, 1087, 1078, 1092,
                             1093, 1094, 1111, 1112, 1113, 1114, 1115, 1117};
  std::vector<int> walked = tabWalk(dlg, 100);
  ASSERT_GE(walked.size(), amp.size());
  EXPECT_EQ(std::vector<int>(walked.begin(), walked.begin() + amp.size()), amp);
  // The reverb (on in the amplifier's patch): its switch, its type, then its knobs.
  const auto reverb = std::find(walked.begin(), walked.end(), 1022);
  ASSERT_NE(reverb, walked.end());
  EXPECT_EQ(*(reverb + 1), 1036);
  EXPECT_EQ(*(reverb + 2), 1231);
  EXPECT_EQ(walked.back(), PanelControls::kSaveToLibrary);
  EXPECT_EQ(*(walked.end() - 2), PanelControls::kLibraryList);
}

}  // namespace
}  // namespace orv
