#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>
#include <sstream>
#include <stdexcept>

#include "mainwindow/ExceptionBarrier.h"
#include "mainwindow/ScriptedMessageBoxes.h"
#include "patch/GenericException.h"

namespace orv {
namespace {

TEST(ExceptionBarrier, GenericExceptionShowsItsStringTableTextInTheErrorBox) {
  test::ScriptedMessageBoxes boxes;
  QWidget owner;
  ExceptionBarrier barrier(boxes, [&] { return &owner; });
  bool after = false;
  EXPECT_FALSE(barrier.run([&] { throw CGenericException(202, 5, "detail"); }));
  EXPECT_TRUE(barrier.run([&] { after = true; }));
  EXPECT_TRUE(after);
  ASSERT_EQ(boxes.asked.size(), 1u);
  const auto& r = boxes.asked[0];
  EXPECT_EQ(r.text, "USB communication error.");
  EXPECT_EQ(r.caption, "ORV Editor");
  EXPECT_EQ(r.icon, IMessageBoxes::Icon::Stop);
  EXPECT_EQ(r.buttons, IMessageBoxes::Ok);
  EXPECT_EQ(r.owner, &owner);
}

TEST(ExceptionBarrier, AFileFailureNamesThePathAndTheReasonAsSecondaryText) {
  test::ScriptedMessageBoxes boxes;
  ExceptionBarrier barrier(boxes, nullptr);
  barrier.run([] {
    throw CGenericException(300, 1, "/home/u/B\xC3\xA4nke.ZBL",
                            std::make_error_code(std::errc::no_such_file_or_directory));
  });
  barrier.run([] { throw CGenericException(311); });
  ASSERT_EQ(boxes.asked.size(), 2u);
  EXPECT_EQ(boxes.asked[0].text, "Failed to load Library file.");
  EXPECT_EQ(boxes.asked[0].details,
            QString::fromUtf8("/home/u/Bänke.ZBL: No such file or directory"));
  EXPECT_TRUE(boxes.asked[1].details.isEmpty());
}

TEST(ExceptionBarrier, AnythingElseIsOneLineOnTheDiagnosticStream) {
  test::ScriptedMessageBoxes boxes;
  ExceptionBarrier barrier(boxes, nullptr);
  std::ostringstream diag;
  barrier.setDiagnosticStream(diag);
  EXPECT_FALSE(barrier.run([] { throw std::runtime_error("boom"); }));
  EXPECT_FALSE(barrier.run([] { throw 42; }));
  EXPECT_EQ(diag.str(), "Exception caught!\nException caught!\n");
  EXPECT_TRUE(boxes.asked.empty());
}

TEST(ExceptionBarrier, DeferredBoxesWaitForTheEventLoopAndDieWithTheBarrier) {
  test::ScriptedMessageBoxes boxes;
  {
    ExceptionBarrier barrier(boxes, nullptr);
    barrier.setDeferBoxes(true);
    barrier.run([] { throw CGenericException(311); });
    EXPECT_TRUE(boxes.asked.empty()) << "not shown inside the handler";
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, "Cannot find the Help file.");

    barrier.run([] { throw CGenericException(311); });
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(boxes.asked.size(), 1u) << "a box still pending when the barrier went is dropped";
}

}  // namespace
}  // namespace orv
