#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>

#include "controls/VKRDial.h"
#include "controls/WindowEvents.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/VKRPreferenceWindow.h"

namespace orv {
namespace {

using test::MainWindowHarness;
using Bytes = AmpSimulator::Bytes;
using W = CVKRPreferenceWindow;

bool received(const AmpSimulator& sim, const Bytes& message) {
  const std::vector<Bytes> all = sim.received();
  return std::find(all.begin(), all.end(), message) != all.end();
}

Bytes settingChange(uint8_t number, uint8_t value) {
  return {0xF0, 0x43, 0x7D, 0x30, 0x41, 0x30, number, value, 0xF7};
}

// Runs Edit > Preferences...; `inside` plays the user while the dialog is open and returns
// whether OK (true) or Cancel (false) closes it.
void runPreferences(MainWindowHarness& h, const std::function<bool(W&)>& inside) {
  h.boxes.onDialog = [&](QDialog& d) {
    auto& w = dynamic_cast<W&>(d);
    if (inside(w))
      w.accept();
    else
      w.reject();
    return w.result();
  };
  h.dlg->menu().action(MainMenu::Preferences)->trigger();
  h.service->flush();
}

bool pairEnabled(W& w, int first) {
  return w.button(first)->isEnabled() && w.button(first + 1)->isEnabled();
}

TEST(Preferences, ConnectedTheAmplifiersReportsEnableThePairsAndOkSendsThemBack) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.sim->setSetting(AmpSimulator::kPowerLamp, 0);  // reported as ON
  ASSERT_EQ(h.sim->settings()[AmpSimulator::kExtendedStereo], 1) << "reported as OFF";
  h.sim->clearReceived();

  runPreferences(h, [&](W& w) {
    EXPECT_FALSE(pairEnabled(w, W::kStereoOn)) << "not before the amplifier answered";
    EXPECT_FALSE(pairEnabled(w, W::kLampOn));
    EXPECT_TRUE(
        h.tickUntil([&] { return pairEnabled(w, W::kStereoOn) && pairEnabled(w, W::kLampOn); }));
    EXPECT_TRUE(w.button(W::kStereoOff)->isChecked());
    EXPECT_TRUE(w.button(W::kLampOn)->isChecked());

    // The USB volume is reported to the window; the dialog stays as it is.
    DeviceLink::instance().notifyListeners(EVENT_SETTING_REPORTED, 0x0203);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.menu().checkedUsbVolume(), 3) << "\"Volume:4\"";
    EXPECT_TRUE(w.button(W::kStereoOff)->isChecked());
    EXPECT_TRUE(w.button(W::kLampOn)->isChecked());
    EXPECT_EQ(w.extendedStereo(), 1);
    h.sim->clearReceived();
    return true;  // OK, nothing touched
  });
  EXPECT_TRUE(received(*h.sim, settingChange(0, 1)));
  EXPECT_TRUE(received(*h.sim, settingChange(1, 0)));

  h.sim->clearReceived();
  dlg.menu().action(MainMenu::Volume1)->trigger();
  h.service->flush();
  EXPECT_TRUE(received(*h.sim, {0xF0, 0x43, 0x7D, 0x30, 0x41, 0x30, 0x02, 0x00, 0xF7}));
}

TEST(Preferences, ListsAreSortedAndTheConfiguredNameSelectsTheFirstItemBeginningWithIt) {
  MainWindowHarness h;
  h.service->addDevice("ORV10 2", [](const uint8_t*, std::size_t) {});
  h.startSimulator('1', "ORV10");
  h.service->addDevice("Amp Bridge", [](const uint8_t*, std::size_t) {});
  CVKRPrefData::instance().setMidiIn("orv10");
  CVKRPrefData::instance().setMidiOut("Gone");
  h.open();

  runPreferences(h, [&](W& w) {
    QStringList items;
    for (int i = 0; i < w.dataIn()->count(); ++i) items << w.dataIn()->itemText(i);
    EXPECT_EQ(items, QStringList({"Amp Bridge", "ORV10", "ORV10 2"}));
    EXPECT_EQ(w.dataIn()->currentText(), "ORV10");
    EXPECT_EQ(w.dataOut()->currentIndex(), -1) << "nothing begins with \"Gone\"";
    EXPECT_FALSE(pairEnabled(w, W::kStereoOn)) << "nothing connected, nothing asked";
    EXPECT_TRUE(w.button(W::kCircular)->isChecked()) << "the settings' default";
    w.button(W::kLinear)->click();
    return true;
  });
  EXPECT_EQ(CVKRPrefData::instance().midiIn(), "ORV10");
  EXPECT_EQ(CVKRPrefData::instance().midiOut(), "Gone") << "no selection keeps the name";
  EXPECT_EQ(CVKRPrefData::instance().dialType(), 0);
  for (CVKRDial* dial : h.dlg->controls().dials()) EXPECT_EQ(dial->GetKnobMode(), 0);
  EXPECT_FALSE(h.dlg->portsOpen()) << "the output name is missing: nothing opened";
}

TEST(Preferences, CancelChangesNothing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  const CVKRPrefData before = CVKRPrefData::instance();
  runPreferences(h, [&](W& w) {
    EXPECT_TRUE(h.tickUntil([&] { return pairEnabled(w, W::kStereoOn); }))
        << "the amplifier's settings never arrived";
    h.sim->clearReceived();
    EXPECT_TRUE(w.button(W::kStereoOff)->isChecked()) << "the click below changes the pair";
    w.button(W::kLinear)->click();
    w.button(W::kStereoOn)->click();
    w.dataIn()->setCurrentIndex(-1);
    return false;
  });
  EXPECT_EQ(CVKRPrefData::instance(), before);
  for (CVKRDial* dial : dlg.controls().dials()) EXPECT_EQ(dial->GetKnobMode(), 1);
  EXPECT_TRUE(h.sim->received().empty());
}

TEST(Preferences, OkSendsTheExtendedStereoAndPowerLampTheUserChose) {
  MainWindowHarness h;
  h.openConnected();
  h.sim->setSetting(AmpSimulator::kExtendedStereo, 1);  // both OFF
  h.sim->setSetting(AmpSimulator::kPowerLamp, 1);
  runPreferences(h, [&](W& w) {
    EXPECT_TRUE(h.tickUntil([&] {
      return pairEnabled(w, W::kStereoOn) && pairEnabled(w, W::kLampOn);
    })) << "the amplifier's settings never arrived";
    w.button(W::kStereoOn)->click();
    w.button(W::kLampOn)->click();
    h.sim->clearReceived();
    return true;
  });
  EXPECT_TRUE(received(*h.sim, settingChange(0, 0)));
  EXPECT_TRUE(received(*h.sim, settingChange(1, 0)));
  EXPECT_FALSE(received(*h.sim, settingChange(0, 1)));
  EXPECT_EQ(h.sim->settings()[AmpSimulator::kExtendedStereo], 0);
  EXPECT_EQ(h.sim->settings()[AmpSimulator::kPowerLamp], 0);
}

TEST(Preferences, ARequestThatCannotBeSentIsReportedAsAUsbError) {
  MainWindowHarness h;
  h.openConnected();
  h.sim->vanish();  // gone, but the link has not noticed yet
  h.service->flush();
  h.boxes.asked.clear();
  runPreferences(h, [](W&) { return true; });
  EXPECT_EQ(h.boxes.texts(), QStringList{"USB communication error."});
}

TEST(Preferences, AReportedValueWithoutAButtonIsSentBackAsReported) {
  MainWindowHarness h;
  h.openConnected();
  h.sim->setSetting(AmpSimulator::kExtendedStereo, 5);
  runPreferences(h, [&](W& w) {
    EXPECT_TRUE(h.tickUntil([&] { return pairEnabled(w, W::kStereoOn); }))
        << "the amplifier's settings never arrived";
    EXPECT_EQ(w.extendedStereo(), 5);
    EXPECT_FALSE(w.button(W::kStereoOn)->isChecked() || w.button(W::kStereoOff)->isChecked());
    h.sim->clearReceived();
    return true;
  });
  EXPECT_TRUE(received(*h.sim, settingChange(0, 5)));
}

}  // namespace
}  // namespace orv
