// The panel dressed for the amplifier's model: ranges, names, images, the cabinet list, the
// delay's layout and the pictures that follow the amplifier type.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <vector>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"
#include "device/ParameterMap.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelPainter.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/SkinImages.h"
#include "skin/LayoutData.h"

namespace orv {
namespace {

using test::MainWindowHarness;

// The holder shows the panel image `id`.
bool holds(const CImageEx& holder, int id) {
  return !holder.IsEmpty() && holder.Image().cacheKey() == SkinImages::get(id).cacheKey();
}

QRect layoutRect(int id) {
  const LayoutRect& r = LayoutData::at(id).pixels;
  return QRect(r.x, r.y, r.width, r.height);
}

// Where model '3' does not move them, the delay's Level dial, display and label stand one
// column step right of Low Cut; the step is the distance between the High Cut and Low Cut dials
// (495 to 550: 55 pixels) for all three. Worked out by hand from the template's units
// (x * 800 / 530, y * 600 / 369, rounded down): Low Cut's dial at 550, display at 550, label at
// 547.
const QRect kLevelDial(605, 351, 45, 45);
const QRect kLevelDisplay(605, 331, 42, 17);
const QRect kLevelLabel(602, 317, 48, 13);

bool shown(const PanelControls& c, int id) {
  return !c.widget(id)->isHidden();
}

// Waits until the window has connected to the simulator with `model`.
bool connectedAs(MainWindowHarness& h, char model) {
  return h.tickUntil([&] { return h.dlg->connectedIndicator() && h.dlg->modelCode() == model; });
}

// True when the panel as painted shows nothing but the background inside `rect`.
bool onlyBackgroundIn(CVKREditorDlg& dlg, const QRect& rect, int background) {
  const QImage panel = dlg.surface().grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage plain = SkinImages::get(background).convertToFormat(QImage::Format_RGB32);
  return panel.copy(rect) == plain.copy(rect);
}

// Amplifier-type names: image and width per type.
void expectNames(const PanelControls& c, int firstImage, const std::vector<int>& widths) {
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const int id = 1087 + int(i);
    const CCustomButton* name = c.button(id);
    EXPECT_TRUE(holds(const_cast<CCustomButton*>(name)->Face(), firstImage + int(i))) << id;
    EXPECT_EQ(name->width(), widths[i]) << id;
    EXPECT_EQ(name->GetCellSize(), QSize(widths[i], 14)) << id;
    EXPECT_EQ(name->GetPlacement(), name->geometry()) << id;
    // The first five are right-aligned against the knob, the last three left-aligned.
    if (i < 5)
      EXPECT_EQ(name->geometry().right(), layoutRect(id).right()) << id;
    else
      EXPECT_EQ(name->x(), layoutRect(id).x()) << id;
  }
}

// The parts of the panel every skin swaps, for one model's images.
struct Images {
  int background, indicator, sectionSwitch, ratio, cabinetCaption, listRow, track;
};

void expectImages(CVKREditorDlg& dlg, const Images& want) {
  PanelControls& c = dlg.controls();
  EXPECT_EQ(dlg.painter().background(), want.background);
  EXPECT_TRUE(holds(c.dial(1111)->BackImage(), want.background));
  EXPECT_TRUE(holds(c.dial(1078)->BackImage(), want.background));
  EXPECT_TRUE(holds(c.picture(1276)->BackImage(), want.background));
  EXPECT_TRUE(holds(c.button(1087)->Background(), want.background));
  EXPECT_TRUE(holds(c.button(1019)->Background(), want.background));
  EXPECT_TRUE(holds(c.pullDown(1033)->Background(), want.background));
  EXPECT_TRUE(holds(c.connectionIndicator()->Face(), want.indicator));
  for (int sw = 1019; sw <= 1023; ++sw)
    EXPECT_TRUE(holds(c.button(sw)->Face(), want.sectionSwitch));
  EXPECT_TRUE(holds(c.picture(1276)->Image(), want.ratio));
  EXPECT_TRUE(holds(c.picture(1099)->Image(), want.cabinetCaption));
  EXPECT_TRUE(holds(c.libraryList()->RowImage(), want.listRow));
  EXPECT_TRUE(holds(c.scrollBar()->BackImage(), want.track)) << "the track, not the background";
}

// --- Before any amplifier --------------------------------------------------------------------

TEST(ModelSkin, WithoutAnAmplifierFiveTypesOverAShortTravel) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  PanelControls& c = dlg.controls();

  EXPECT_EQ(c.ampTypeKnob()->GetMax(), 4);
  EXPECT_EQ(c.ampTypeKnob()->GetEndAngle(), 150);
  for (int id = 1092; id <= 1094; ++id) EXPECT_FALSE(shown(c, id)) << id;
  for (int id = 1095; id <= 1097; ++id) EXPECT_TRUE(shown(c, id)) << "cover " << id;
  expectImages(dlg, {216, 186, 192, 193, 225, 183, 232});
  expectNames(c, 194, {59, 69, 58, 61, 71, 49, 43, 47});

  EXPECT_EQ(c.pullDown(1117)->GetListKind(), 4);
  EXPECT_EQ(c.pullDown(1117)->GetCaption(), "American 4x12");
  EXPECT_TRUE(shown(c, 1117));
  EXPECT_FALSE(shown(c, 1099));
  EXPECT_FALSE(shown(c, 1100));
  for (int id : {1203, 1204, 1193, 1194}) EXPECT_TRUE(shown(c, id)) << id;
  EXPECT_EQ(c.dial(1205)->geometry(), kLevelDial);

  // Any other character dresses the panel like '0'.
  dlg.skin().ApplyModelSkin('x');
  EXPECT_EQ(c.ampTypeKnob()->GetMax(), 4);
  for (int id = 1095; id <= 1097; ++id) EXPECT_TRUE(shown(c, id)) << "cover " << id;
  expectImages(dlg, {216, 186, 192, 193, 225, 183, 232});
}

// --- Identified amplifiers -------------------------------------------------------------------

TEST(ModelSkin, ModelTwoSwapsEveryImageAndTheCabinetList) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('2');
  PanelControls& c = dlg.controls();

  expectImages(dlg, {252, 253, 263, 254, 264, 183, 232});
  expectNames(c, 255, {71, 72, 72, 75, 95, 57, 50, 48});
  EXPECT_EQ(c.ampTypeKnob()->GetMax(), 7);
  EXPECT_EQ(c.ampTypeKnob()->GetEndAngle(), 330);
  for (int id = 1092; id <= 1094; ++id) EXPECT_TRUE(shown(c, id)) << id;
  for (int id = 1095; id <= 1097; ++id) EXPECT_FALSE(shown(c, id)) << "cover " << id;

  CVKRPullDownMenu* cabinet = c.pullDown(1117);
  EXPECT_EQ(cabinet->GetListKind(), 6);
  EXPECT_EQ(cabinet->GetCount(), 5);
  EXPECT_EQ(cabinet->GetItems().first(), "Fuel 4x12");
  EXPECT_EQ(cabinet->GetSelection(), h.sim->patch()[patch::kCabinet]);
}

TEST(ModelSkin, ModelThreeDelayHasNoCutKnobsUntilAnotherModelConnects) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('3');
  PanelControls& c = dlg.controls();
  dlg.show();

  expectImages(dlg, {241, 242, 192, 193, 251, 183, 232});
  expectNames(c, 243, {61, 62, 69, 75, 47, 47, 43, 47});
  EXPECT_EQ(c.pullDown(1117)->GetListKind(), 7);
  for (int id : {1203, 1204, 1193, 1194}) EXPECT_FALSE(shown(c, id)) << id;
  // Level takes the High Cut column.
  EXPECT_EQ(c.dial(1205)->pos(), layoutRect(1203).topLeft());
  EXPECT_EQ(c.dial(1205)->GetRect(), c.dial(1205)->geometry());
  EXPECT_EQ(c.display(1195)->pos(), layoutRect(1193).topLeft());
  EXPECT_EQ(c.display(1195)->GetRect(), c.display(1195)->geometry());
  EXPECT_EQ(c.label(1215)->pos(), layoutRect(1213).topLeft());
  // "Low Cut" is not drawn; "Level" is, in the third column.
  EXPECT_TRUE(onlyBackgroundIn(dlg, layoutRect(1214), 241));
  EXPECT_FALSE(onlyBackgroundIn(dlg, layoutRect(1213), 241));

  h.sim->setModel('1');
  ASSERT_TRUE(connectedAs(h, '1'));
  for (int id : {1203, 1204, 1193, 1194}) EXPECT_TRUE(shown(c, id)) << id;
  EXPECT_EQ(c.dial(1205)->geometry(), kLevelDial);
  EXPECT_EQ(c.dial(1205)->GetRect(), kLevelDial);
  EXPECT_EQ(c.display(1195)->geometry(), kLevelDisplay);
  EXPECT_EQ(c.label(1215)->geometry(), kLevelLabel);
  EXPECT_EQ(c.pullDown(1117)->GetListKind(), 4);
  expectImages(dlg, {216, 186, 192, 193, 225, 183, 232});
  expectNames(c, 194, {59, 69, 58, 61, 71, 49, 43, 47});
  EXPECT_FALSE(onlyBackgroundIn(dlg, layoutRect(1214), 216)) << "Low Cut is drawn again";
}

TEST(ModelSkin, ModelFourSetsAnUpperAmpTypeBackToZeroThroughTheListener) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('1');
  PanelControls& c = dlg.controls();
  h.sim->turnKnob(params::kAmpType, 6);
  ASSERT_TRUE(h.tickUntil([&] { return c.ampTypeKnob()->GetValue() == 6; }));
  h.sim->clearReceived();

  h.sim->setModel('4');
  ASSERT_TRUE(connectedAs(h, '4'));
  ASSERT_TRUE(h.tickUntil([] { return DeviceLink::instance().mirror()[patch::kAmpType] == 0; }));
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kAmpType], 0) << "the reset reached the amplifier";
  EXPECT_EQ(c.ampTypeKnob()->GetValue(), 0);
  EXPECT_EQ(c.button(1087)->GetState(), 1);
  EXPECT_EQ(c.button(1093)->GetState(), 0);
  EXPECT_EQ(c.ampTypeKnob()->GetMax(), 4);
  EXPECT_EQ(c.ampTypeKnob()->GetEndAngle(), 150);

  for (int id = 1092; id <= 1097; ++id) EXPECT_FALSE(shown(c, id)) << id;
  expectImages(dlg, {233, 234, 192, 193, 225, 184, 231});
  expectNames(c, 235, {61, 60, 53, 75, 91});
  EXPECT_FALSE(shown(c, 1117)) << "no cabinet on this model";
  EXPECT_FALSE(shown(c, 1099));
  EXPECT_TRUE(shown(c, 1100)) << "the gain caption of type 0";

  // The gain caption belongs to type 0 only, and follows the knob.
  dlg.OnControlChanged(1089, 0);
  h.service->flush();
  EXPECT_EQ(c.ampTypeKnob()->GetValue(), 2);
  EXPECT_FALSE(shown(c, 1100));
  EXPECT_FALSE(shown(c, 1117));
  h.sim->turnKnob(params::kAmpType, 0);
  ASSERT_TRUE(h.tickUntil([&] { return c.ampTypeKnob()->GetValue() == 0; }));
  EXPECT_TRUE(shown(c, 1100));
}

TEST(ModelSkin, CabinetGivesWayToItsCaptionForUpperTypesAndKeepsThePatchsEntry) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('1');
  PanelControls& c = dlg.controls();

  dlg.OnControlChanged(1093, 0);  // type 6
  EXPECT_FALSE(shown(c, 1117));
  EXPECT_TRUE(shown(c, 1099));
  h.service->flush();                    // the amplifier has type 6 before its own knob turns
  h.sim->turnKnob(params::kAmpType, 2);  // the same when the amplifier changes it
  ASSERT_TRUE(h.tickUntil([&] { return c.ampTypeKnob()->GetValue() == 2; }));
  EXPECT_TRUE(shown(c, 1117));
  EXPECT_FALSE(shown(c, 1099));

  // Another model with the same patch: no patch arrives, and the new list shows the patch's
  // cabinet rather than its first entry.
  h.sim->turnKnob(params::kCabinet, 3);
  ASSERT_TRUE(h.tickUntil([&] { return c.pullDown(1117)->GetSelection() == 3; }));
  ASSERT_EQ(h.sim->patch(), DeviceLink::instance().mirror());
  bool patchShown = false;
  QObject::connect(&dlg, &CVKREditorDlg::devicePatchShown, [&] { patchShown = true; });
  h.sim->setModel('2');
  ASSERT_TRUE(connectedAs(h, '2'));
  for (int i = 0; i < 5; ++i) h.tick();
  EXPECT_FALSE(patchShown);
  EXPECT_EQ(c.pullDown(1117)->GetListKind(), 6);
  EXPECT_EQ(c.pullDown(1117)->GetSelection(), 3);
  EXPECT_EQ(c.pullDown(1117)->GetCaption(), "Juicy 4x12");
}

}  // namespace
}  // namespace orv
