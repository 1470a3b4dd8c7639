#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "mainwindow/QtMessageBoxes.h"

namespace orv {
namespace {

TEST(QtMessageBoxes, APlainFixedSizeBoxWithAMnemonicOnEveryButton) {
  QtMessageBoxes boxes;
  IMessageBoxes::Request request;
  request.text = QStringLiteral("Failed to export Patch file.");
  request.details = QStringLiteral("/home/guitarist/Lead 1.5.ZBP: Permission denied");
  request.buttons = IMessageBoxes::Yes | IMessageBoxes::No | IMessageBoxes::Cancel;
  request.saveLabels = true;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    seen = true;
    const Qt::WindowFlags flags = box->windowFlags();
    EXPECT_FALSE(flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(box->minimumSize(), box->maximumSize()) << "nothing to resize or maximise";
    for (QPushButton* b : box->findChildren<QPushButton*>())
      EXPECT_TRUE(b->text().contains(u'&')) << b->text().toStdString();
    box->reject();
  });
  EXPECT_EQ(boxes.ask(request), IMessageBoxes::Cancel);
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace orv
