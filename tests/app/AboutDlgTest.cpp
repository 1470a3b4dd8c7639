#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include "app/AboutDlg.h"

namespace orv {
namespace {

TEST(AboutDlg, ShowsTheVersionLineUnderItsCaptionAndClosesWithOk) {
  CAboutDlg about;
  EXPECT_EQ(about.windowTitle(), "ORV Editor");
  auto* version = about.findChild<QLabel*>("version");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), "ORV Editor, Version 1.1.0");
  EXPECT_FALSE(about.findChild<QLabel*>("description")->text().isEmpty());

  about.show();
  about.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace orv
