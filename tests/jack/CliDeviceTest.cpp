// orv-cli's device commands run as programs against orv-ampsim on the test's JACK server.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "jack/AmpProcess.h"
#include "jack/JackServer.h"
#include "jack/SecondServer.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"
#include "sim/AmpSimulator.h"

#ifndef ORV_CLI
#define ORV_CLI "orv-cli"
#endif

namespace orv {
namespace {

using namespace std::chrono_literals;
using test::AmpProcess;
using test::ChildProcess;

struct Run {
  int status;
  std::string output;  // standard output and error
  std::chrono::steady_clock::duration took;
};

Run cli(std::vector<std::string> args) {
  args.insert(args.begin(), ORV_CLI);
  const auto t0 = std::chrono::steady_clock::now();
  ChildProcess p(args, {}, SIGKILL, true);
  Run r;
  r.status = p.exitStatus(20s);
  r.took = std::chrono::steady_clock::now() - t0;
  for (const auto& l : p.lines()) r.output += l + "\n";
  return r;
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CliOnJack : public ::testing::Test {
 protected:
  void SetUp() override {
    ORV_REQUIRE_JACK();
    dir_ = std::filesystem::temp_directory_path() /
           ("orv-cli-jack-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void startAmp(std::vector<std::string> args = {}) {
    args.insert(args.end(), {"--period", "250"});
    amp_ = std::make_unique<AmpProcess>(args);
    ASSERT_TRUE(amp_->ready()) << amp_->output();
  }
  std::string file(const std::string& name) { return (dir_ / name).string(); }

  std::filesystem::path dir_;
  std::unique_ptr<AmpProcess> amp_;
};

TEST_F(CliOnJack, PortsListsTheDevicesAsTheEditorNamesThem) {
  startAmp();
  const auto r = cli({"ports", "--midi-api", "jack"});
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(has(r.output, "MIDI service: jack")) << r.output;
  EXPECT_TRUE(has(r.output, "input 0: ORV10\n")) << r.output;
  EXPECT_TRUE(has(r.output, "output 0: ORV10\n")) << r.output;
  EXPECT_FALSE(has(r.output, "ORV Editor")) << r.output;  // its own ports are not devices
  EXPECT_EQ(cli({"ports", "--midi-api", "midi"}).status, 2);
}

TEST_F(CliOnJack, PullWritesTheAmplifiersPatchWithItsModel) {
  startAmp({"--model", "3"});
  const int from = amp_->lineCount();
  const auto r = cli({"pull", "--midi-api", "jack", file("now.ZBP")});
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(has(r.output, "from ORV10 (model 3)")) << r.output;
  LibraryEntry entry;
  readPatchFile(entry, file("now.ZBP"));
  EXPECT_EQ(entry.modelCode, '3');
  EXPECT_EQ(entry.data, AmpSimulator::defaultPatch());
  EXPECT_GE(amp_->waitForReceived("(dump request)", from), 0);

  // A second pull into the same file needs --force; without it the file stays as it was.
  std::ofstream(file("now.ZBP"), std::ios::trunc) << "mine";
  EXPECT_EQ(cli({"pull", "--midi-api", "jack", file("now.ZBP")}).status, 1);
  EXPECT_EQ(std::filesystem::file_size(file("now.ZBP")), 4u);
  ASSERT_EQ(cli({"pull", "--force", "--midi-api", "jack", file("now.ZBP")}).status, 0);
  readPatchFile(entry, file("now.ZBP"));
  EXPECT_EQ(entry.modelCode, '3');
}

TEST_F(CliOnJack, PushSendsThePatchWholeAfterTheModelCheck) {
  startAmp({"--name", "ORV5", "--model", "1"});  // found as the second default port
  LibraryEntry entry;
  entry.data = AmpSimulator::defaultPatch();
  entry.data[patch::kGain] = 99;
  entry.modelCode = '0';  // the old family: '0' and '1' share patches
  writePatchFile(entry, file("mine.ZBP"));
  const auto r = cli({"push", "--midi-api", "jack", file("mine.ZBP")});
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(has(r.output, "to ORV5 (model 1)")) << r.output;
  EXPECT_EQ(amp_->command("get 129"), "ok get 129 = 99");

  // A patch of another model is refused and nothing is sent.
  entry.modelCode = '2';
  entry.data[patch::kGain] = 5;
  writePatchFile(entry, file("other.ZBP"));
  const int from = amp_->lineCount();
  const auto refused = cli({"push", "--port", "ORV5", "--midi-api", "jack", file("other.ZBP")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(has(refused.output, "Invalid Model.")) << refused.output;
  EXPECT_EQ(amp_->waitForReceived("(bulk dump)", from, 300ms), -1);
  EXPECT_EQ(amp_->command("get 129"), "ok get 129 = 99");

  // A file that is no patch file fails before the amplifier is even looked for.
  {
    std::ofstream out(file("other.ZBP"), std::ios::binary | std::ios::trunc);
    out << "not a patch file";
  }
  const auto broken = cli({"push", "--midi-api", "jack", file("other.ZBP")});
  EXPECT_EQ(broken.status, 1);
  EXPECT_TRUE(has(broken.output, "Format error")) << broken.output;
}

TEST_F(CliOnJack, MonitorPrintsEachMessageWithTimeAndClassification) {
  startAmp();
  ChildProcess monitor({ORV_CLI, "monitor", "--midi-api", "jack", "--seconds", "3"}, {}, SIGKILL,
                       true);
  ASSERT_GE(monitor.waitForLineContaining("identity 31", 3s), 0) << amp_->output();
  EXPECT_EQ(amp_->command("knob 1003 12"), "ok knob 1003 = 12");
  const int n = monitor.waitForLineContaining("parameter 130 0 12", 3s);
  ASSERT_GE(n, 0);
  // "   0.523 F0 43 7D 10 41 30 01 02 00 0C F7  parameter 130 0 12"
  EXPECT_TRUE(has(monitor.line(n), "F0 43 7D 10 41 30 01 02 00 0C F7  parameter 130 0 12"));
  EXPECT_NE(monitor.line(n).find('.'), std::string::npos);
  EXPECT_EQ(monitor.exitStatus(10s), 0);
}

TEST_F(CliOnJack, WithoutAnAnswerEveryCommandFailsAfterFiveSeconds) {
  // No device at all.
  auto r = cli({"pull", "--midi-api", "jack", file("x.ZBP")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(has(r.output, "no MIDI device \"ORV10\" or \"ORV5\" found within 5 s")) << r.output;
  EXPECT_LT(r.took, 8s);
  EXPECT_FALSE(std::filesystem::exists(file("x.ZBP")));
  // A device that never announces itself.
  startAmp();
  EXPECT_EQ(amp_->command("silent"), "ok silent");
  std::this_thread::sleep_for(300ms);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"pull", "--midi-api", "jack", file("x.ZBP")},
        std::vector<std::string>{"monitor", "--midi-api", "jack"}}) {
    r = cli(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_TRUE(has(r.output, "no amplifier answered on \"ORV10\" within 5 s")) << r.output;
    EXPECT_LT(r.took, 8s);
  }
  EXPECT_FALSE(std::filesystem::exists(file("x.ZBP")));
}

// When the JACK server stops, the monitor says so and fails at once; the simulator waits and
// shows up on the next server by itself, as an amplifier does for the editor.
TEST_F(CliOnJack, AStoppedServerEndsTheMonitorAndTheSimulatorReturnsToTheNextOne) {
  test::SecondServer server;
  ASSERT_TRUE(server.start());
  startAmp();
  ChildProcess monitor({ORV_CLI, "monitor", "--midi-api", "jack"}, {}, SIGKILL, true);
  ASSERT_GE(monitor.waitForLineContaining("identity 31", 3s), 0) << amp_->output();

  server.stop();
  EXPECT_EQ(monitor.exitStatus(5s), 1);
  EXPECT_GE(monitor.waitForLineContaining("orv-cli: the MIDI service stopped", 1s), 0);

  const int from = amp_->lineCount();
  ASSERT_TRUE(server.start());
  EXPECT_GE(amp_->process().waitForLineContaining("ready: \"ORV10\" on jack", 5s, from), 0)
      << amp_->output();
  const auto r = cli({"ports", "--midi-api", "jack"});
  EXPECT_TRUE(has(r.output, "input 0: ORV10\n")) << r.output;
  amp_.reset();  // before its server goes
}

}  // namespace
}  // namespace orv
