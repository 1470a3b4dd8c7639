#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>

#include "mainwindow/QtMessageBoxes.h"

namespace orv {
namespace {

// The lines `label` shows its text in, laid out at its width as a word-wrapping label lays it
// out.
QStringList shownLines(const QLabel& label) {
  QTextLayout layout(label.text(), label.font());
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  QStringList lines;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(label.contentsRect().width());
    lines << label.text().mid(line.textStart(), line.textLength());
  }
  layout.endLayout();
  return lines;
}

TEST(QtMessageBoxes, APlainBoxAsLargeAsItsTextBreaksPathsAfterTheirSeparators) {
  QtMessageBoxes boxes;
  IMessageBoxes::Request request;
  request.text = QStringLiteral("Failed to export Patch file.");
  // Names that begin with a digit: the text engine by itself breaks no line after a slash there.
  request.details = QStringLiteral(
      "/home/guitarist/2024recordingsofthewinterbeforelast/"
      "2ndalternativetakeswithdifferentamplifiers/1.5Lead.ZBP: Permission denied");
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
    const auto* details = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    ASSERT_TRUE(details);
    const QStringList lines = shownLines(*details);
    ASSERT_GT(lines.size(), 1);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
      const QString line = lines[i];
      const QString shown = QString(line).remove(QChar(0x200B)).trimmed();
      EXPECT_TRUE(shown.endsWith(u'/') || line.endsWith(u' ')) << line.toStdString();
    }
    box->reject();
  });
  EXPECT_EQ(boxes.ask(request), IMessageBoxes::Cancel);
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace orv
