// The panel brought in line with patch data: whole records, single parameters reported by the
// amplifier simulator, and the neutral panel.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEdit.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "device/ParameterMap.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/PanelSurface.h"
#include "skin/LayoutData.h"

namespace orv {
namespace {

using test::MainWindowHarness;

// Everything the refresh may change on one control, as text, keyed by the control's identifier.
using Snapshot = std::map<int, std::string>;

Snapshot snapshot(const PanelControls& c) {
  Snapshot out;
  for (const ControlLayout& l : LayoutData::controls()) {
    const QWidget* w = c.widget(l.id);
    if (!w) continue;
    std::ostringstream s;
    s << "hidden " << w->isHidden() << " enabled " << w->isEnabled() << " at " << w->x() << ","
      << w->y();
    if (const auto* d = qobject_cast<const CVKRDial*>(w))
      s << " dial " << d->GetValue() << " in " << d->GetMin() << ".." << d->GetMax();
    if (const auto* e = qobject_cast<const CVKRNumberEditText*>(w))
      s << " edit " << e->GetValue() << " in " << e->GetMin() << ".." << e->GetMax() << " as "
        << e->GetFormatId();
    if (const auto* p = qobject_cast<const CVKRPullDownMenu*>(w))
      s << " entry " << p->GetSelection() << " of list " << p->GetListKind();
    else if (const auto* b = qobject_cast<const CCustomButton*>(w))
      s << " state " << b->GetState();
    if (const auto* t = qobject_cast<const QLabel*>(w)) s << " text " << t->text().toStdString();
    out[l.id] = s.str();
  }
  return out;
}

// Identifiers whose state differs between two snapshots.
std::set<int> changed(const Snapshot& before, const Snapshot& after) {
  std::set<int> ids;
  for (const auto& [id, state] : after)
    if (before.at(id) != state) ids.insert(id);
  return ids;
}

std::set<int> range(int first, int last) {
  std::set<int> ids;
  for (int id = first; id <= last; ++id) ids.insert(id);
  return ids;
}

// The effect section: switch, type pull-down, number displays, knobs and labels.
std::set<int> effectSection() {
  std::set<int> ids = {1020, 1034};
  for (const auto& r : {range(1161, 1165), range(1171, 1175), range(1181, 1185)})
    ids.insert(r.begin(), r.end());
  return ids;
}

QString labelText(const PanelControls& c, int id) {
  return c.label(id)->text();
}

bool shown(const PanelControls& c, int id) {
  return !c.widget(id)->isHidden();
}

LibraryEntry record(const PatchData& patch) {
  LibraryEntry e;
  e.data = patch;
  return e;
}

PatchData initialised(const char* name) {
  PatchData p;
  initPatch(name, p);
  return p;
}

// Collects what the window repaints on its panel.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget* surface) : surface_(surface) {
    surface->installEventFilter(this);
  }
  ~PaintRecorder() override { surface_->removeEventFilter(this); }
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
    return false;
  }

 private:
  QWidget* surface_;
};

// --- Whole records ---------------------------------------------------------------------------

TEST(PanelRefreshRecord, CompressorRackClampsAndStompNarrowsTheRangesAgain) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  PatchData p = initialised("Rack");
  p[patch::kCompType] = patch::Rack;
  p[patch::kCompOn] = patch::kOn;
  p[145] = 0x05;  // Threshold 5 * 128 = 640, beyond its 600
  p[146] = 0x00;
  p[147] = 12;    // Attack
  p[148] = 34;    // Release
  p[149] = 9;     // Ratio beyond its 5
  p[150] = 2;     // Knee "Hard"
  p[151] = 0x02;  // Output 2 * 128 + 88 = 344
  p[152] = 88;
  dlg.refresher().ShowRecord(record(p));

  EXPECT_EQ(c.dial(1141)->GetValue(), 600);
  EXPECT_EQ(c.display(1131)->GetValue(), 600);
  EXPECT_EQ(c.display(1131)->GetFormatId(), 1011);
  EXPECT_EQ(c.dial(1142)->GetValue(), 12);
  EXPECT_EQ(c.dial(1143)->GetValue(), 34);
  EXPECT_EQ(c.dial(1144)->GetValue(), 5) << "Ratio clamped to its 0..5";
  EXPECT_EQ(c.dial(1145)->GetValue(), 344);
  EXPECT_EQ(c.display(1135)->GetValue(), 344);
  EXPECT_EQ(c.pullDown(1147)->GetSelection(), 2);
  EXPECT_EQ(c.pullDown(1033)->GetSelection(), 1);
  EXPECT_EQ(dlg.sectionState().rememberedItem[0], 1);
  for (int id : {1133, 1135, 1143, 1144, 1145, 1147, 1276}) EXPECT_TRUE(shown(c, id)) << id;
  EXPECT_FALSE(shown(c, 1134)) << "the Ratio knob has no number display";
  EXPECT_EQ(labelText(c, 1151), "Threshold");
  EXPECT_EQ(labelText(c, 1154), "Ratio");
  EXPECT_EQ(labelText(c, 1155), "Knee");
  EXPECT_EQ(labelText(c, 1156), "Output");
  EXPECT_EQ(c.button(1019)->GetState(), 1);
  for (int id : {1033, 1131, 1132, 1133, 1135, 1141, 1145, 1147})
    EXPECT_TRUE(c.widget(id)->isEnabled()) << id;

  p[patch::kCompType] = patch::Stomp;
  p[145] = 70;  // Sustain
  p[146] = 80;  // Output
  dlg.refresher().ShowRecord(record(p));
  EXPECT_EQ(c.dial(1141)->GetMax(), 100);
  EXPECT_EQ(c.display(1131)->GetMax(), 100);
  EXPECT_EQ(c.display(1131)->GetFormatId(), 1009);
  EXPECT_EQ(c.dial(1141)->GetValue(), 70);
  EXPECT_EQ(c.dial(1142)->GetValue(), 80);
  for (int id : {1133, 1135, 1143, 1144, 1145, 1147, 1276}) EXPECT_FALSE(shown(c, id)) << id;
  EXPECT_EQ(labelText(c, 1151), "Sustain");
  EXPECT_EQ(labelText(c, 1152), "Output");
  for (int id = 1153; id <= 1156; ++id) EXPECT_EQ(labelText(c, id), "") << id;
}

TEST(PanelRefreshRecord, EffectListShowsTremoloAndPhaserInItsOwnOrder) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  PatchData p = initialised("Trem");
  p[patch::kEffectType] = patch::Tremolo;
  p[patch::kEffectOn] = patch::kOn;
  p[161] = 44;
  p[162] = 55;
  dlg.refresher().ShowRecord(record(p));
  EXPECT_EQ(c.pullDown(1034)->GetSelection(), 3);
  EXPECT_EQ(c.pullDown(1034)->GetCaption(), "Tremolo");
  EXPECT_EQ(dlg.sectionState().rememberedItem[1], 3);
  EXPECT_EQ(labelText(c, 1181), "Freq");
  EXPECT_EQ(labelText(c, 1182), "Depth");
  for (int id : {1183, 1184, 1185}) EXPECT_EQ(labelText(c, id), "") << id;
  for (int pos = 0; pos < 5; ++pos) {
    EXPECT_EQ(shown(c, 1171 + pos), pos < 2) << pos;
    EXPECT_EQ(shown(c, 1161 + pos), pos < 2) << pos;
  }
  EXPECT_EQ(c.dial(1171)->GetValue(), 44);
  EXPECT_EQ(c.display(1162)->GetValue(), 55);
  EXPECT_EQ(c.display(1161)->GetFormatId(), 1031);
  EXPECT_EQ(c.display(1162)->GetFormatId(), 1032);

  p[patch::kEffectType] = patch::Phaser;
  dlg.refresher().ShowRecord(record(p));
  EXPECT_EQ(c.pullDown(1034)->GetCaption(), "Phaser");
  EXPECT_EQ(dlg.sectionState().rememberedItem[1], 2);
  EXPECT_EQ(labelText(c, 1184), "Feedback");
  for (int pos = 0; pos < 5; ++pos) EXPECT_EQ(shown(c, 1171 + pos), pos < 4) << pos;
}

TEST(PanelRefreshRecord, UnknownTypesLeaveTheirSectionOrDisableIt) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  PatchData p = initialised("Flanger");
  p[patch::kEffectType] = patch::Flanger;
  p[patch::kEffectOn] = patch::kOn;
  p[163] = 66;
  p[patch::kDelayOn] = patch::kOn;
  p[patch::kGateOn] = patch::kOn;
  p[patch::kReverbOn] = patch::kOn;
  dlg.refresher().ShowRecord(record(p));
  const Snapshot before = snapshot(c);
  const auto rememberedBefore = dlg.sectionState().rememberedItem;

  // Effect type 7 and reverb type 9: those sections stay exactly as they were, whatever else the
  // patch says about them.
  p[patch::kEffectType] = 7;
  p[patch::kEffectOn] = patch::kOff;
  p[163] = 11;
  p[patch::kReverbType] = 9;
  p[patch::kReverbOn] = patch::kOff;
  // A delay or gate type other than 0 disables the section and keeps its switch.
  p[patch::kDelayType] = 1;
  p[patch::kGateType] = 3;
  dlg.refresher().ShowRecord(record(p));

  std::set<int> untouched = effectSection();
  for (const auto& r : {range(1221, 1227), range(1231, 1237), range(1241, 1247)})
    untouched.insert(r.begin(), r.end());
  untouched.insert({1022, 1036});
  const Snapshot after = snapshot(c);
  for (int id : untouched) EXPECT_EQ(after.at(id), before.at(id)) << id;
  EXPECT_EQ(dlg.sectionState().rememberedItem[1], rememberedBefore[1]);
  EXPECT_EQ(dlg.sectionState().rememberedItem[3], rememberedBefore[3]);

  EXPECT_EQ(c.button(1021)->GetState(), 1) << "the delay's switch keeps its state";
  EXPECT_EQ(c.button(1023)->GetState(), 1) << "the gate's switch keeps its state";
  for (int id : {1035, 1191, 1195, 1201, 1205, 1251, 1252, 1261, 1262})
    EXPECT_FALSE(c.widget(id)->isEnabled()) << id;
}

TEST(PanelRefreshRecord, SwitchedOffSectionsShowTheirValuesGrayedWithTheSwitchDark) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  PatchData p = initialised("Off");
  writeValue(p, patch::kDelayTime, true, 700);
  p[patch::kDelayLevel] = 90;
  p[patch::kGateThreshold] = 33;
  p[patch::kReverbType] = patch::Spring;
  writeTypeDefaults(p, patch::kReverbType, patch::Spring);
  p[193] = 25;
  p[patch::kDelayOn] = patch::kOn;
  dlg.refresher().ShowRecord(record(p));
  ASSERT_EQ(c.button(1021)->GetState(), 1);

  p[patch::kDelayOn] = patch::kOff;  // every section off now
  dlg.refresher().ShowRecord(record(p));
  EXPECT_EQ(c.dial(1201)->GetValue(), 700);
  EXPECT_EQ(c.display(1191)->GetValue(), 700);
  EXPECT_EQ(c.dial(1205)->GetValue(), 90);
  EXPECT_EQ(c.dial(1261)->GetValue(), 33);
  EXPECT_EQ(c.dial(1231)->GetValue(), 25);
  for (int sw = 1019; sw <= 1023; ++sw) EXPECT_EQ(c.button(sw)->GetState(), 0) << sw;
  for (int id :
       {1033, 1034, 1035, 1036, 1131, 1141, 1147, 1161, 1171, 1191, 1201, 1221, 1231, 1251, 1261})
    EXPECT_FALSE(c.widget(id)->isEnabled()) << id;

  // Spring: two knobs, no special stepping of the first, its own captions.
  EXPECT_EQ(labelText(c, 1241), "Reverb");
  EXPECT_EQ(labelText(c, 1242), "Filter");
  for (int pos = 0; pos < 7; ++pos) EXPECT_EQ(shown(c, 1231 + pos), pos < 2) << pos;
  EXPECT_EQ(c.pullDown(1036)->GetCaption(), "Spring");
}

TEST(PanelRefreshRecord, NameAmplifierAndCabinet) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  PatchData p = initialised("");
  for (std::size_t i = 0; i < patch::kNameLength; ++i) p[i] = 'a' + i % 26;
  p[0] = 0xC9;             // Latin-1 capital E with acute accent
  p[64] = 'Z';             // beyond the name: never part of it
  p[patch::kAmpType] = 6;  // beyond the five types of a window without an amplifier
  p[patch::kGain] = 120;   // beyond the knob's 0..100
  p[patch::kTreble] = 7;
  p[patch::kCabinet] = 4;
  dlg.refresher().ShowRecord(record(p));

  EXPECT_EQ(dlg.patchName().size(), 64);
  EXPECT_EQ(dlg.patchName().at(0), QChar(0xC9));
  EXPECT_FALSE(dlg.patchName().contains('Z'));
  EXPECT_EQ(c.nameEdit()->text(), dlg.patchName());
  EXPECT_EQ(c.ampTypeKnob()->GetValue(), 4) << "shown as the knob's maximum";
  for (int i = 0; i < 8; ++i) EXPECT_EQ(c.button(1087 + i)->GetState(), i == 4 ? 1 : 0) << i;
  EXPECT_EQ(c.dial(1111)->GetValue(), 100);
  EXPECT_EQ(c.display(1101)->GetValue(), 100);
  EXPECT_EQ(c.dial(1115)->GetValue(), 7);
  EXPECT_EQ(c.pullDown(1117)->GetSelection(), 4);

  p[patch::kCabinet] = 40;  // no such entry: the pull-down keeps what it shows
  dlg.refresher().ShowRecord(record(p));
  EXPECT_EQ(c.pullDown(1117)->GetSelection(), 4);
}

// --- The neutral panel -----------------------------------------------------------------------

TEST(PanelRefreshNeutral, ResetsThePresentationAndGraysEverySection) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  PatchData p = initialised("Busy");
  p[patch::kCompType] = patch::Rack;
  p[patch::kEffectType] = patch::Flanger;
  p[patch::kReverbType] = patch::Spring;
  for (std::size_t on :
       {patch::kCompOn, patch::kEffectOn, patch::kDelayOn, patch::kReverbOn, patch::kGateOn})
    p[on] = patch::kOn;
  p[patch::kCabinet] = 3;
  dlg.refresher().ShowRecord(record(p));

  PatchData mirror = initialised("Mirror");
  mirror[145] = 61;  // Sustain
  mirror[161] = 17;  // Speed
  mirror[patch::kGain] = 88;
  DeviceLink::instance().setMirror(mirror);
  dlg.refresher().NeutralRefresh();

  for (int sw = 1019; sw <= 1023; ++sw) EXPECT_EQ(c.button(sw)->GetState(), 0) << sw;
  for (int pd = 1033; pd <= 1036; ++pd) {
    EXPECT_EQ(c.pullDown(pd)->GetSelection(), 0) << pd;
    EXPECT_FALSE(c.pullDown(pd)->isEnabled()) << pd;
  }
  EXPECT_EQ(dlg.sectionState().rememberedItem, (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(c.pullDown(1117)->GetSelection(), 0);
  EXPECT_EQ(c.dial(1111)->GetValue(), 88);
  EXPECT_EQ(c.button(1087)->GetState(), 1);

  // Stomp, Chorus and Hall, with the mirror's values.
  EXPECT_EQ(c.dial(1141)->GetValue(), 61);
  EXPECT_EQ(c.dial(1141)->GetMax(), 100);
  EXPECT_EQ(labelText(c, 1151), "Sustain");
  for (int id : {1143, 1144, 1145, 1133, 1135, 1147, 1276}) EXPECT_FALSE(shown(c, id)) << id;
  EXPECT_EQ(c.dial(1171)->GetValue(), 17);
  EXPECT_EQ(labelText(c, 1183), "Mix");
  for (int pos = 0; pos < 5; ++pos) EXPECT_EQ(shown(c, 1171 + pos), pos < 3) << pos;
  EXPECT_EQ(labelText(c, 1241), "Time");
  EXPECT_EQ(labelText(c, 1247), "Level");
  for (int pos = 0; pos < 7; ++pos) EXPECT_TRUE(shown(c, 1231 + pos)) << pos;
  EXPECT_EQ(c.dial(1231)->GetValue(), readValue(mirror, 193, true));

  for (int id : {1131, 1141, 1161, 1171, 1191, 1201, 1221, 1231, 1251, 1261, 1147})
    EXPECT_FALSE(c.widget(id)->isEnabled()) << id;
}

// --- Parameters reported by the amplifier ----------------------------------------------------

TEST(PanelRefreshFromAmplifier, AKnobTurnedThereMovesOnlyItsControlsAndRepaintsOnlyThem) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  PanelControls& c = dlg.controls();
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  h.tick();  // settle the first paint
  const Snapshot before = snapshot(c);
  PaintRecorder paints(&dlg.surface());

  h.sim->turnKnob(1035, 700);  // delay time, a two-byte value
  ASSERT_TRUE(h.tickUntil([&] { return c.dial(1201)->GetValue() == 700; }));
  h.tick();  // the repaint it asked for

  EXPECT_EQ(c.display(1191)->GetValue(), 700);
  EXPECT_EQ(changed(before, snapshot(c)), (std::set<int>{1191, 1201}));
  // The list takes part through the window's patch-touched step, which clears its selection.
  const QRegion allowed =
      QRegion(c.dial(1201)->geometry()) + c.display(1191)->geometry() + c.libraryList()->geometry();
  EXPECT_TRUE(paints.painted.intersects(c.dial(1201)->geometry())) << "the knob was repainted";
  EXPECT_TRUE((paints.painted - allowed).isEmpty())
      << "repainted beyond the knob: " << paints.painted.boundingRect().x() << ","
      << paints.painted.boundingRect().y() << " " << paints.painted.boundingRect().width() << "x"
      << paints.painted.boundingRect().height();
}

TEST(PanelRefreshFromAmplifier, ASectionSwitchedOrRetypedThereRedrawsThatSection) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  PanelControls& c = dlg.controls();
  ASSERT_EQ(c.button(1020)->GetState(), 0);
  Snapshot before = snapshot(c);

  h.sim->turnKnob(params::kEffectOn, patch::kOn);
  ASSERT_TRUE(h.tickUntil([&] { return c.button(1020)->GetState() == 1; }));
  std::set<int> diff = changed(before, snapshot(c));
  EXPECT_FALSE(diff.empty());
  for (int id : diff) EXPECT_TRUE(effectSection().count(id)) << "outside the effect: " << id;
  for (int id : {1034, 1161, 1163, 1171, 1173}) EXPECT_TRUE(c.widget(id)->isEnabled()) << id;

  // The type changed there: the section is laid out for it; the amplifier's own value changes
  // follow separately.
  before = snapshot(c);
  h.sim->turnKnob(params::kEffectType, patch::Flanger);
  ASSERT_TRUE(h.tickUntil([&] { return c.pullDown(1034)->GetSelection() == 1; }));
  EXPECT_EQ(labelText(c, 1185), "Spread");
  for (int pos = 0; pos < 5; ++pos) EXPECT_TRUE(shown(c, 1171 + pos)) << pos;
  diff = changed(before, snapshot(c));
  for (int id : diff) EXPECT_TRUE(effectSection().count(id)) << "outside the effect: " << id;

  h.sim->turnKnob(1025, 99);  // Flanger's Feedback, fourth position
  ASSERT_TRUE(h.tickUntil([&] { return c.dial(1174)->GetValue() == 99; }));
  EXPECT_EQ(c.display(1164)->GetValue(), 99);
}

TEST(PanelRefreshFromAmplifier, AnAmpTypeBeyondTheModelsRangeLeavesTheTypeControlsAlone) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('4');
  PanelControls& c = dlg.controls();
  ASSERT_EQ(c.ampTypeKnob()->GetMax(), 4);
  const Snapshot before = snapshot(c);

  h.sim->turnKnob(params::kAmpType, 6);
  ASSERT_TRUE(h.tickUntil([] { return DeviceLink::instance().mirror()[patch::kAmpType] == 6; }));
  h.tick();
  EXPECT_EQ(changed(before, snapshot(c)), std::set<int>{});

  h.sim->turnKnob(params::kAmpType, 3);  // within the range: followed
  ASSERT_TRUE(h.tickUntil([&] { return c.ampTypeKnob()->GetValue() == 3; }));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(c.button(1087 + i)->GetState(), i == 3 ? 1 : 0) << i;
}

TEST(PanelRefreshFromAmplifier, ASectionSwitchedOffThereDropsTheTextTypedIntoItsDisplay) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  PanelControls& c = dlg.controls();
  ASSERT_TRUE(test::showActive(dlg));
  CVKRNumberEditText* display = c.display(1221);  // the reverb is on in the simulator's patch
  ASSERT_TRUE(display->isEnabled());
  QTest::mouseDClick(display, Qt::LeftButton);
  ASSERT_TRUE(display->IsEntryOpen());
  QTest::keyClicks(display->Entry(), "9");

  PatchData p = h.sim->patch();
  p[patch::kReverbOn] = patch::kOff;
  h.sim->setPatch(p);
  h.sim->clearReceived();
  DeviceLink::instance().requestDump();
  ASSERT_TRUE(h.tickUntil([&] { return !display->isEnabled(); }));
  h.tick();
  h.service->flush();
  EXPECT_FALSE(display->IsEntryOpen());
  for (const AmpSimulator::Bytes& m : h.sim->received())
    EXPECT_FALSE(AmpSimulator::isParameterChange(m)) << "a refresh never sends";
  EXPECT_EQ(h.sim->patch(), p);
}

TEST(PanelRefreshFromAmplifier, IdentifiersOutsideTheMapChangeNothing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  const Snapshot before = snapshot(dlg.controls());
  for (int id : {0, 1000, 1056, -5, 70000}) dlg.refresher().ShowParameter(id);
  EXPECT_EQ(changed(before, snapshot(dlg.controls())), std::set<int>{});
}

}  // namespace
}  // namespace orv
