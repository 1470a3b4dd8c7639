// The skinned controls as assistive tools see them: what their actions do, and that they do it
// as the mouse does.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QMenu>
#include <QSignalSpy>
#include <limits>
#include <optional>
#include <vector>

#include "ControlsTestHost.h"
#include "controls/AccessibleEvents.h"
#include "controls/AccessibleFactory.h"
#include "controls/AccessibleValue.h"
#include "controls/CustomButton.h"
#include "controls/VKRListBox.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"
#include "patch/NameLists.h"

namespace orv::test {
namespace {

class AccessibleControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { AccessibleFactory::Install(); }
  static QAccessibleInterface* Face(QObject* o) { return QAccessible::queryAccessibleInterface(o); }
  // The action, and the event loop's turn in which a press runs.
  static void Do(QAccessibleInterface* i, const QString& action) {
    i->actionInterface()->doAction(action);
    QCoreApplication::processEvents();
  }

  ControlsTestHost host;
};

TEST_F(AccessibleControlsTest, PressingASwitchFlipsItThenClicksAndIsRefusedWhileDisabled) {
  auto* sw = new CCustomButton(&host);
  sw->SetKind(CCustomButton::Kind::Switch);
  sw->setAccessibleName("Reverb on");
  std::vector<int> clicked;
  QObject::connect(sw, &QAbstractButton::clicked, [&] { clicked.push_back(sw->GetState()); });

  QAccessibleInterface* face = Face(sw);
  EXPECT_EQ(face->role(), QAccessible::CheckBox);
  EXPECT_EQ(face->text(QAccessible::Name), "Reverb on");
  Do(face, QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicked, std::vector<int>{1}) << "the owner reads the new state, as after a click";
  EXPECT_TRUE(face->state().checked);

  sw->setEnabled(false);
  EXPECT_FALSE(
      face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  Do(face, QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicked.size(), 1u);

  auto* indicator = new CCustomButton(&host);
  indicator->SetKind(CCustomButton::Kind::Indicator);
  indicator->SetToggleMode(0);
  EXPECT_EQ(Face(indicator)->role(), QAccessible::StaticText);
  EXPECT_EQ(Face(indicator)->text(QAccessible::Name), "Not connected");
  indicator->SetState(1);
  EXPECT_EQ(Face(indicator)->text(QAccessible::Name), "Connected");
  EXPECT_FALSE(Face(indicator)->actionInterface()->actionNames().contains(
      QAccessibleActionInterface::pressAction()));
}

TEST_F(AccessibleControlsTest, APullDownListsItsEntriesAndPressingOneChoosesIt) {
  auto* reverb = new CVKRPullDownMenu(&host);
  reverb->SetItemSource(pullDownItems);
  reverb->SetListKind(3);
  reverb->FillItems();
  reverb->SetSelection(0);
  QAccessibleInterface* face = Face(reverb);
  EXPECT_EQ(face->role(), QAccessible::ComboBox);
  ASSERT_EQ(face->childCount(), 4);
  EXPECT_EQ(face->child(0)->text(QAccessible::Name), "Hall");
  EXPECT_EQ(face->child(3)->text(QAccessible::Name), "Spring");
  EXPECT_TRUE(face->child(0)->state().selected);

  Do(face->child(3), QAccessibleActionInterface::pressAction());
  host.Flush();
  EXPECT_EQ(host.posted, (std::vector<Posted>{{WM_PULLDOWN_CHANGED, 3, 3}}));
  EXPECT_EQ(face->text(QAccessible::Value), "Spring");
  EXPECT_TRUE(face->child(3)->state().selected);
}

TEST_F(AccessibleControlsTest, AListRowRunsTheContextMenusCommandOnThatRow) {
  auto* list = new CVKRListBox(&host);
  list->setGeometry(10, 10, 150, 200);
  for (int i = 1; i <= 20; ++i) list->AddString(QString("%1 Empty").arg(i, 3, 10, QChar('0')));
  QMenu menu;
  QAction* clear = menu.addAction("&Clear");
  int clearedRow = -1;
  QObject::connect(clear, &QAction::triggered, [&] { clearedRow = list->GetCurSel(); });
  list->SetContextMenu(&menu);
  QSignalSpy picked(list, &CVKRListBox::SelectionChanged);

  QAccessibleInterface* row = Face(list)->child(15);
  EXPECT_TRUE(row->actionInterface()->actionNames().contains("Clear"));
  Do(row, "Clear");
  EXPECT_EQ(clearedRow, 15) << "the row is selected first, as a right click selects it";
  EXPECT_EQ(picked.count(), 0) << "without a slot pick";
  EXPECT_TRUE(row->state().selected);
}

TEST_F(AccessibleControlsTest, AScrollBarValueIsProposedLikeAPageClick) {
  auto* bar = new CVKRScrollBar(&host);
  bar->SetId(1287);
  bar->SetRange(0, 100);
  bar->SetListener(&host);
  QAccessibleValueInterface* value = Face(bar)->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->maximumValue().toInt(), 89);
  value->setCurrentValue(95);
  EXPECT_EQ(host.calls, (std::vector<Call>{{1287, 89}}));
  EXPECT_EQ(bar->GetValue(), 0) << "the owner stores what it accepts";
}

TEST(AccessibleValue, WholeNumbersAreRoundedAndAnythingElseIsRefused) {
  EXPECT_EQ(AccessibleValue::WholeNumber(42), 42);
  EXPECT_EQ(AccessibleValue::WholeNumber(2.5), 3) << "halves round away from zero";
  EXPECT_EQ(AccessibleValue::WholeNumber(-2.5), -3);
  EXPECT_EQ(AccessibleValue::WholeNumber(7.49), 7);
  EXPECT_EQ(AccessibleValue::WholeNumber(QStringLiteral("17")), 17) << "a number given as text";
  EXPECT_EQ(AccessibleValue::WholeNumber(999999999.4), 999999999);
  EXPECT_EQ(AccessibleValue::WholeNumber(-999999999.4), -999999999);
  EXPECT_EQ(AccessibleValue::WholeNumber(1e9), std::nullopt);
  EXPECT_EQ(AccessibleValue::WholeNumber(-1e9), std::nullopt);
  EXPECT_EQ(AccessibleValue::WholeNumber(1e300), std::nullopt);
  EXPECT_EQ(AccessibleValue::WholeNumber(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
  EXPECT_EQ(AccessibleValue::WholeNumber(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(AccessibleValue::WholeNumber(QStringLiteral("loud")), std::nullopt);
  EXPECT_EQ(AccessibleValue::WholeNumber(QVariant()), std::nullopt);
}

// What an assistive tool hears, recorded by the in-process observer.
struct HeardEvent {
  QAccessible::Event type;
  QObject* object;
  int child;
  bool checkedChanged;
  bool operator==(const HeardEvent&) const = default;
};
std::vector<HeardEvent> g_heard;
void hear(QAccessibleEvent* e) {
  const bool checked = e->type() == QAccessible::StateChanged &&
                       static_cast<QAccessibleStateChangeEvent*>(e)->changedStates().checked;
  g_heard.push_back({e->type(), e->object(), e->child(), checked});
}

TEST_F(AccessibleControlsTest, NameSelectionAndCheckedChangesAreAnnounced) {
  auto* sw = new CCustomButton(&host);
  sw->SetKind(CCustomButton::Kind::Switch);
  auto* indicator = new CCustomButton(&host);
  indicator->SetKind(CCustomButton::Kind::Indicator);
  auto* list = new CVKRListBox(&host);
  for (int i = 1; i <= 20; ++i) list->AddString(QString("%1 Empty").arg(i, 3, 10, QChar('0')));
  g_heard.clear();
  const AccessibleEvents::Observer before = AccessibleEvents::SetObserver(&hear);

  sw->SetState(1);
  sw->SetState(1);  // no change: nothing to announce
  indicator->SetState(1);
  list->SetString(7, QStringLiteral("008 Lead"));
  list->SetCurSel(7);
  list->SetCurSel(7);
  list->SetCurSel(-1);
  AccessibleEvents::SetObserver(before);

  EXPECT_EQ(g_heard, (std::vector<HeardEvent>{
                         {QAccessible::StateChanged, sw, -1, true},
                         {QAccessible::StateChanged, indicator, -1, true},
                         {QAccessible::NameChanged, indicator, -1, false},
                         {QAccessible::NameChanged, list, 7, false},
                         {QAccessible::Selection, list, 7, false},
                         {QAccessible::SelectionRemove, list, -1, false},
                     }));
}

}  // namespace
}  // namespace orv::test
