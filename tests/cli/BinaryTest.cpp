// The installed tool itself: exit statuses and streams as a shell sees them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

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

namespace {
// The line of `text` that begins with `start`; empty when there is none.
std::string lineStarting(const std::string& text, const std::string& start) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    if (text.compare(at, start.size(), start) == 0) return text.substr(at, end - at);
    at = end + 1;
  }
  return {};
}

// The words of a line, blanks collapsed.
std::string words(const std::string& line) {
  std::string out;
  for (char c : line)
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
  return out;
}
}  // namespace

TEST(CliBinary, ParamsAPatchFileGivenToListAndFailuresThatNameTheFile) {
  TempDir dir;
  Outcome r = run(dir, "params 4");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(words(lineStarting(r.out, "1001 ")),
            "1001 128 Amp Type 0..4 EG CLN, NYLON, TUBE, DYNAMIC, CONDENSER");
  EXPECT_EQ(words(lineStarting(r.out, "1002 ")), "1002 129 Amp Blend 0..100 shown 0.0..10.0");
  EXPECT_EQ(words(lineStarting(r.out, "1035 ")),
            "1035 177 Delay Time 1..9999 shown 0.1ms..999.9ms, unit ms");
  EXPECT_EQ(words(lineStarting(r.out, "1049 ")),
            "1049 193 Reverb Reverb 0..100 shown 0.0..10.0 [Spring]");
  for (int id = 1001; id <= 1055; ++id)
    EXPECT_FALSE(lineStarting(r.out, std::to_string(id) + " ").empty()) << id;
  EXPECT_EQ(words(lineStarting(run(dir, "params").out, "1002 ")),
            "1002 129 Amp Gain 0..100 shown 0.0..10.0");
  EXPECT_EQ(run(dir, "params 5").status, 2);

  const std::string lib = (dir / "lib.ZBL").string(), patch = (dir / "p.ZBP").string();
  ASSERT_EQ(run(dir, "new '" + lib + "'").status, 0);
  ASSERT_EQ(run(dir, "export '" + lib + "' 1 '" + patch + "'").status, 0);
  r = run(dir, "list '" + patch + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "orv-cli: " + patch + " is a patch file, not a library; use: orv-cli show " +
                       patch + "\n");

  const std::string missing = (dir / "nonexist.ZBP").string();
  for (const std::string& command : {"push '" + missing + "'", "show '" + missing + "'",
                                     "import '" + lib + "' 2 '" + missing + "'"}) {
    r = run(dir, command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.err, "orv-cli: Failed to import Patch file. (" + missing +
                         ": No such file or directory)\n")
        << command;
  }
  r = run(dir, "new '" + (dir / "no folder" / "x.ZBL").string() + "'");
  EXPECT_NE(r.err.find("no folder/x.ZBL: No such file or directory"), std::string::npos) << r.err;
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
