// The font configuration read on its own thread at start-up is the one Qt then works with.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include "app/FontSetUp.h"

namespace orv {
namespace {

TEST(FontSetUpTest, QtMeasuresTextWithTheConfigurationReadOnTheThread) {
  { FontSetUp unused; }  // ended without waiting: the thread is joined, nothing is left behind
  FontSetUp fonts;
  fonts.wait();
  fonts.wait();  // a second wait returns at once
  EXPECT_FALSE(QFontDatabase::families().isEmpty());
  QFont panel(QStringLiteral("Arial"));
  panel.setPixelSize(12);
  EXPECT_GT(QFontMetrics(panel).horizontalAdvance(QStringLiteral("ORV Editor")), 0);
}

}  // namespace
}  // namespace orv
