// The installed tool itself: exit statuses and streams as a shell sees them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/TempDir.h"

using namespace orv::test;

namespace {
struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(const TempDir& dir, const std::string& args) {
  const std::string command = std::string("'") + ORV_CLI_PATH + "' " + args + " >'" +
                              (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(dir / "stdout"),
          readText(dir / "stderr")};
}
}  // namespace

TEST(CliBinary, ExitStatusesAndStreams) {
  TempDir dir;
  const std::string lib = "'" + (dir / "My Library.ZBL").string() + "'";
  Outcome r = run(dir, "new " + lib);
  EXPECT_EQ(r.status, 0);
  r = run(dir, "list " + lib);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, 10), "001 Empty\n");
  EXPECT_TRUE(r.err.empty());

  r = run(dir, "show " + lib + " 0");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("usage: orv-cli show"), std::string::npos);

  r = run(dir, "show '" + (dir / "stdout").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Cannot use the selected Patch file. (Format error)"), std::string::npos);

  EXPECT_EQ(run(dir, "--help").status, 0);
  EXPECT_EQ(run(dir, "--version").status, 0);
  EXPECT_EQ(run(dir, "").status, 2);
  // Output that cannot be written is a failure, not a silent success.
  EXPECT_EQ(
      std::system((std::string("'") + ORV_CLI_PATH + "' to-json " + lib + " >/dev/full 2>/dev/null")
                      .c_str()) >>
          8,
      1);
}

// Arguments a shell hands over empty or out of range are usage errors, never taken for something
// else: "--port=" does not take the next argument as the port, "" is no slot number, and only
// parameters 1001..1055 and texts that begin with a number have values.
TEST(CliBinary, EmptyAndOutOfRangeArgumentsAreUsageErrors) {
  TempDir dir;
  const std::string lib = "'" + (dir / "L.ZBL").string() + "'";
  ASSERT_EQ(run(dir, "new " + lib).status, 0);
  Outcome r = run(dir, "pull --port= '" + (dir / "Out.ZBP").string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--port needs a device name"), std::string::npos) << r.err;
  EXPECT_EQ(run(dir, "show " + lib + " ''").status, 2);
  for (const char* args : {"format 1000 5", "format 1056 5", "parse 2 1", "parse 1011 abc"}) {
    r = run(dir, args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_TRUE(r.out.empty()) << args << ": " << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "Out.ZBP"));
}
