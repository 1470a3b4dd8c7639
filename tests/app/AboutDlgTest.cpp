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
  // The application icon, not an empty square.
  const QImage icon = about.findChild<QLabel*>("icon")->pixmap().toImage();
  ASSERT_FALSE(icon.isNull());
  EXPECT_GE(icon.width(), 32);
  EXPECT_NE(icon.pixelColor(icon.width() / 2, icon.height() / 2).alpha(), 0);

  about.show();
  about.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace orv
