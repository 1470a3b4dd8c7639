#include <gtest/gtest.h>

#include "LinkedSimulator.h"
#include "device/ControlRouter.h"
#include "device/ParameterMap.h"

using namespace orv;
using panel::Section;

namespace {

class ControlRouterTest : public orv::testing::LinkedSimulator {
 protected:
  void SetUp() override {
    LinkedSimulator::SetUp();
    router = std::make_unique<ControlRouter>(*link);
  }
  RouteResult control(int id, int value) { return router->control(id, value, state); }
  RouteResult pullDown(int kind, int item) { return router->pullDown(kind, item, state); }
  uint8_t at(int offset) const { return link->mirror()[static_cast<std::size_t>(offset)]; }

  std::unique_ptr<ControlRouter> router;
  SectionState state;
};

}  // namespace

// The table the panel and the router share must agree with the parameter map: every knob writes
// a parameter that exists under the type it is listed for, with a range its bytes can hold.
TEST(ControlRanges, AgreeWithTheParameterMap) {
  const Section sections[] = {Section::Amp,   Section::Compressor, Section::Effect,
                              Section::Delay, Section::Reverb,     Section::Gate};
  int knobs = 0;
  for (Section s : sections) {
    const panel::SectionControls* c = panel::sectionControls(s);
    ASSERT_NE(c, nullptr);
    for (uint8_t type = 0; type < 4; ++type) {
      for (int p = 0; p < c->positions; ++p) {
        const panel::PositionSpec* spec = panel::positionSpec(s, type, p);
        if (spec == nullptr) continue;
        ++knobs;
        const int offset = params::offsetOf(spec->id);
        const uint8_t typeByte = s == Section::Amp ? 0 : type;
        EXPECT_EQ(params::identifierOf(offset, typeByte), spec->id) << spec->id;
        EXPECT_LE(spec->range.min, spec->range.max) << spec->id;
        EXPECT_GE(spec->range.min, 0) << spec->id;
        EXPECT_LE(spec->range.max, params::isTwoByte(spec->id) ? 16383 : 127) << spec->id;
        // The dial and number edit of the position lead back to it.
        const auto dial = panel::controlPosition(c->firstDial + p);
        const auto edit = panel::controlPosition(c->firstEdit + p);
        ASSERT_TRUE(dial && edit);
        EXPECT_TRUE(dial->section == s && dial->position == p && dial->dial);
        EXPECT_TRUE(edit->section == s && edit->position == p && !edit->dial);
        EXPECT_EQ(c->firstDial - c->firstEdit, panel::kEditToDial);
      }
    }
  }
  EXPECT_GT(knobs, 0);
  EXPECT_EQ(panel::positionSpec(Section::Effect, 4, 0), nullptr);
  EXPECT_EQ(panel::positionSpec(Section::Compressor, 127, 0), nullptr);
  for (int id : {1078, 1100, 1106, 1146, 1238, 1253})
    EXPECT_FALSE(panel::controlPosition(id).has_value()) << id;
}

TEST_F(ControlRouterTest, KnobsFollowTheBlockType) {
  connect(initWith({}));

  // Stomp: the first compressor knob is Sustain, 0..100.
  RouteResult r = control(1141, 250);
  EXPECT_EQ(r.parameter, 1009);
  EXPECT_EQ(r.shownValue, 100);
  EXPECT_EQ(r.dial, 1141);
  EXPECT_EQ(r.edit, 1131);
  EXPECT_TRUE(r.changed && r.patchTouched);
  EXPECT_EQ(at(145), 100);

  // Knobs Stomp hides write nothing, but the gesture still counts as touching the patch.
  r = control(1143, 50);
  EXPECT_TRUE(r.handled && r.patchTouched);
  EXPECT_EQ(r.parameter, 0);
  EXPECT_FALSE(r.changed);

  // Rack: Threshold is two-byte 0..600; the Ratio knob has no number edit.
  pullDown(panel::kCompTypeList, 1);
  forget();
  r = control(1131, 700);
  EXPECT_EQ(r.parameter, 1011);
  EXPECT_EQ(r.shownValue, 600);
  EXPECT_EQ(at(145), 4);
  EXPECT_EQ(at(146), 88);
  r = control(1144, 9);
  EXPECT_EQ(r.parameter, 1014);
  EXPECT_EQ(r.shownValue, 5);
  EXPECT_EQ(r.edit, 0);
  r = control(1134, 2);  // the hidden edit of the Ratio knob
  EXPECT_EQ(r.parameter, 0);
  r = control(1145, 300);
  EXPECT_EQ(r.parameter, 1016);
  EXPECT_EQ(wire(),
            (std::vector<Bytes>{change(145, 4, 88), change(149, 0, 5), change(151, 2, 44)}));
}

TEST_F(ControlRouterTest, EffectReverbDelayAndGateKnobs) {
  connect(initWith({{160, 2}, {192, 3}}));  // Tremolo, Spring

  // Tremolo has two knobs; its third position must not reach 1033 (the effect switch).
  EXPECT_EQ(control(1172, 30).parameter, 1032);
  EXPECT_EQ(control(1173, 0).parameter, 0);
  EXPECT_EQ(at(175), 127);

  // Spring knobs are 0..100 and start at 0; the Hall-only knobs write nothing.
  RouteResult r = control(1221, 0);
  EXPECT_EQ(r.parameter, 1049);
  EXPECT_EQ(r.shownValue, 0);
  EXPECT_EQ(control(1232, 500).shownValue, 100);
  EXPECT_EQ(at(194), 100);
  EXPECT_EQ(control(1233, 5).parameter, 0);

  // Delay time is two-byte 1..9999; gate knobs one-byte.
  r = control(1201, 0);
  EXPECT_EQ(r.parameter, 1035);
  EXPECT_EQ(r.shownValue, 1);
  EXPECT_FALSE(r.changed);  // the Init patch holds 1 already
  control(1191, 300);
  control(1262, 45);
  EXPECT_EQ(at(210), 45);
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(162, 0, 30), change(194, 0, 100), change(177, 2, 44),
                                        change(210, 0, 45)}));
}

TEST_F(ControlRouterTest, AmpTypeDialAndButtons) {
  connect(initWith({}));

  state.modelCode = '0';  // five amp types
  RouteResult r = control(1078, 7);
  EXPECT_TRUE(r.ampType && r.changed);
  EXPECT_EQ(r.shownValue, 4);
  EXPECT_EQ(at(128), 4);

  r = control(1094, 0);  // the eighth button, beyond this model's knob
  EXPECT_EQ(r.shownValue, 4);
  EXPECT_FALSE(r.changed);
  EXPECT_TRUE(r.patchTouched);

  state.modelCode = '1';
  EXPECT_EQ(control(1094, 0).shownValue, 7);
  EXPECT_EQ(at(128), 7);
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(128, 0, 4), change(128, 0, 7)}));

  // The button of the stored type sends nothing.
  forget();
  link->setEdited(false);
  EXPECT_FALSE(control(1094, 0).changed);
  EXPECT_TRUE(wire().empty());
  EXPECT_FALSE(link->edited());
}

TEST_F(ControlRouterTest, TypePullDownsAndTheRememberedItem) {
  connect(initWith({}));

  // Effect list position 2 is Phaser, data type 3; its reset precedes the type.
  RouteResult r = pullDown(panel::kEffectTypeList, 2);
  EXPECT_EQ(r.parameter, 1018);
  EXPECT_EQ(r.relabel, Section::Effect);
  EXPECT_EQ(r.relabelType, 3);
  EXPECT_EQ(r.refresh, Section::Effect);
  EXPECT_TRUE(r.patchTouched && r.changed);
  EXPECT_EQ(at(160), 3);
  EXPECT_EQ(state.rememberedItem[1], 2);
  EXPECT_EQ(wire(), (std::vector<Bytes>{change(161, 0, 0), change(162, 0, 0), change(163, 0, 0),
                                        change(164, 0, 0), change(160, 0, 3)}));

  // The same item again: relabelled only; nothing written, no refresh, no patch-touched step.
  forget();
  link->setEdited(false);
  r = pullDown(panel::kEffectTypeList, 2);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.relabel, Section::Effect);
  EXPECT_EQ(r.refresh, Section::None);
  EXPECT_FALSE(r.patchTouched || r.changed);
  EXPECT_TRUE(wire().empty());
  EXPECT_FALSE(link->edited());

  // A new item the mirror already holds (changed at the amplifier): remembered and refreshed,
  // nothing sent.
  link->withMirror([](PatchData& m) { m[192] = 2; });
  r = pullDown(panel::kReverbTypeList, 2);
  EXPECT_EQ(state.rememberedItem[3], 2);
  EXPECT_EQ(r.refresh, Section::Reverb);
  EXPECT_TRUE(r.patchTouched);
  EXPECT_FALSE(r.changed);
  EXPECT_TRUE(wire().empty());

  // The delay list has one item, always the remembered one: the pull-down only relabels.
  link->withMirror([](PatchData& m) { m[176] = 5; });
  r = pullDown(panel::kDelayTypeList, 0);
  EXPECT_EQ(r.relabel, Section::Delay);
  EXPECT_FALSE(r.changed || r.patchTouched);
  EXPECT_EQ(at(176), 5);

  // An item beyond the list is no choice at all.
  r = pullDown(panel::kCompTypeList, 2);
  EXPECT_FALSE(r.handled);
  EXPECT_EQ(state.rememberedItem[0], 0);
  EXPECT_FALSE(pullDown(9, 0).handled);
}

TEST_F(ControlRouterTest, CabinetKneeSwitchesAndTheScrollBar) {
  connect(initWith({}));

  // All three cabinet kinds write the cabinet byte and redraw only the cabinet pull-down.
  for (int kind : {4, 6, 7}) {
    RouteResult r = pullDown(kind, kind - 3);
    EXPECT_EQ(r.parameter, 1007);
    EXPECT_EQ(r.redrawPullDown, panel::kCabinetPullDown);
    EXPECT_EQ(r.refresh, Section::None);
    EXPECT_EQ(at(134), kind - 3);
  }
  EXPECT_FALSE(pullDown(6, 5).handled);  // model '2' lists five cabinets

  // The knee exists under Rack only.
  EXPECT_FALSE(pullDown(panel::kKneeList, 2).changed);
  EXPECT_EQ(at(150), 0);
  pullDown(panel::kCompTypeList, 1);
  EXPECT_TRUE(pullDown(panel::kKneeList, 2).changed);
  EXPECT_EQ(at(150), 2);

  // Switches: the button's new state, then the whole section is refreshed.
  RouteResult r = control(1019, 1);
  EXPECT_EQ(r.refresh, Section::Compressor);
  EXPECT_EQ(r.parameter, 1017);
  EXPECT_EQ(at(159), 0);
  EXPECT_EQ(control(1023, 0).changed, false);  // the gate is already off
  control(1022, 1);
  control(1022, 0);
  EXPECT_EQ(at(207), 127);

  forget();
  r = control(panel::kListScrollBar, 40);
  EXPECT_TRUE(r.handled);
  EXPECT_FALSE(r.patchTouched);
  EXPECT_FALSE(control(1004, 1).handled);  // not a routed control
  EXPECT_TRUE(wire().empty());
}

TEST_F(ControlRouterTest, FailedSendStillTellsThePanelToShowTheMirror) {
  connect(initWith({}));
  sim->vanish();

  const RouteResult r = pullDown(panel::kReverbTypeList, 3);
  ASSERT_TRUE(r.failure.has_value());
  EXPECT_EQ(r.failure->code(), 202);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(r.refresh, Section::Reverb);
  EXPECT_TRUE(r.patchTouched);
  EXPECT_EQ(at(192), 3);
  EXPECT_FALSE(link->edited());
  EXPECT_THROW(r.throwIfFailed(), CGenericException);
}

TEST_F(ControlRouterTest, NotConnectedWritesOnlyTheMirror) {
  const RouteResult r = control(1111, 55);
  EXPECT_FALSE(r.failure.has_value());
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(at(129), 55);
  EXPECT_TRUE(link->edited());
  EXPECT_EQ(backend->sends(), 0);
}
