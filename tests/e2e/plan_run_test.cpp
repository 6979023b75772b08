#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "common/termios_serial_port.h"
#include "e2e/child_process.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// corvane --run in a working folder beside a zmsim that is its COM1:.
class PlanRun : public ::testing::Test {
 protected:
  // zmsim with short calls (and extra options), as COM1: of the folder.
  void startModule(std::vector<std::string> args = {}, TempDir* in = nullptr) {
    args.insert(args.end(), {"--call-ms", "300"});
    sims.push_back(std::make_unique<SimProcess>((in ? *in : dir).path(), "COM1", args));
    ASSERT_TRUE(sims.back()->ready());
  }
  std::unique_ptr<ChildProcess> start(const std::string& plan, TempDir& in) {
    in.write("plan.toml", plan);
    return std::make_unique<ChildProcess>(
        fs::path(ZM_BINARY_DIR) / "corvane",
        std::vector<std::string>{"--run", "plan.toml", "--junit", "plan.xml", "--json", "plan.json"}, in.path(),
        std::vector<std::string>{}, in.path() / "corvane.out");
  }
  // The exit status of corvane --run, -1 when it did not end within timeoutMs.
  static int exitStatus(ChildProcess& corvane, int timeoutMs = 60000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (corvane.running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (corvane.running()) return -1;
    const int status = corvane.stop();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int run(const std::string& plan) { return exitStatus(*start(plan, dir)); }
  nlohmann::json report(TempDir& in) { return nlohmann::json::parse(in.read("plan.json")); }
  std::string output(TempDir& in) { return in.read("corvane.out"); }

  static std::string alarm(const std::string& expect = "delivered", int within = 10, int repeat = 1) {
    return "[[step]]\ndo = \"alarm\"\nformat = \"contact-id\"\nmessage = \"123418113101015\"\nexpect = \"" +
           expect + "\"\nwithin = " + std::to_string(within) + "\nrepeat = " + std::to_string(repeat) + "\n";
  }
  const std::string kHead = "port = \"COM1:\"\ntelephone = \"5551234\"\n";

  TempDir dir;
  std::vector<std::unique_ptr<SimProcess>> sims;
};

TEST_F(PlanRun, TheCommissioningPlanPassesAgainstTheSimulator) {
  startModule();
  // A fresh folder: the plan's port is typed into "commport" and used from the next start.
  ASSERT_EQ(exitStatus(*start(readFile(fs::path(ZM_SOURCE_DIR) / "examples/commissioning.toml"), dir)), 0)
      << output(dir);
  EXPECT_EQ(dir.read("commport").substr(0, 5), "COM1:");
  const std::string junit = dir.read("plan.xml");
  EXPECT_NE(junit.find("<testsuite name=\"plan.toml\" tests=\"5\" failures=\"0\""), std::string::npos) << junit;
  EXPECT_NE(junit.find("tx W3D01"), std::string::npos);  // the session log of a case
  EXPECT_NE(output(dir).find("step 4 of 4: alarm SIA FSK F2 12345678"), std::string::npos) << output(dir);
  EXPECT_NE(output(dir).find("plan passed: 5 of 5 cases passed"), std::string::npos);
  EXPECT_EQ(sims[0]->joined("station").find("problem"), std::string::npos) << sims[0]->joined("station");
}

TEST_F(PlanRun, EachModuleOutcomeGetsItsVerdictInOnePlan) {
  // The third call rings on until the module vanishes, 2.5 s after its G: the plan
  // waits 1 s for no report and aborts, and the fourth alarm finds the port gone.
  startModule({"--outcomes", "deliver,no-answer,unplug", "--unplug-after", "2500"});
  dir.write("commport", "COM1:");
  const std::string plan = kHead + alarm() + alarm("failed") + "failure = \"NO ANSWER\"\n" +
                           alarm("no-report", 1) + alarm();
  ASSERT_EQ(run(plan), 1) << output(dir);
  const nlohmann::json cases = report(dir)["cases"];
  ASSERT_EQ(cases.size(), 5u) << output(dir);  // the options, then the four alarms
  const char* verdicts[] = {"delivered", "failed", "no report in time", "port lost"};
  const bool passed[] = {true, true, true, false};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(cases[i + 1]["verdict"], verdicts[i]) << i << output(dir);
    EXPECT_EQ(cases[i + 1]["passed"], passed[i]) << i;
  }
  EXPECT_EQ(cases[2]["words"], "FAILED: NO ANSWER");
  EXPECT_NE(cases[4]["words"].get<std::string>().find("COM1:"), std::string::npos) << cases[4]["words"];
  // The loss in the status line's words, not what start-up said before the first alarm.
  EXPECT_EQ(cases[4]["words"].get<std::string>().find("answered"), std::string::npos) << cases[4]["words"];
  EXPECT_NE(report(dir)["stopped"].get<std::string>().find("port lost"), std::string::npos);
}

TEST_F(PlanRun, AKillInTheMiddleLeavesTheReportOfTheStepsDoneAndHangsUp) {
  startModule({"--call-ms", "1500"});
  dir.write("commport", "COM1:");
  std::unique_ptr<ChildProcess> corvane = start(kHead + alarm("delivered", 10, 20), dir);
  ASSERT_TRUE(waitUntil([&] { return dir.read("plan.xml").find("<testcase") != std::string::npos; }, 30000));
  ASSERT_TRUE(sims[0]->waitForText("rx", "S123418113101015<CR>", 10000));
  corvane->signal(SIGTERM);
  EXPECT_EQ(exitStatus(*corvane, 10000), 143) << output(dir);

  const std::string junit = dir.read("plan.xml");
  EXPECT_TRUE(junit.ends_with("</testsuites>\n")) << junit;
  EXPECT_NE(junit.find("interrupted: terminated (SIGTERM)"), std::string::npos) << junit;
  const std::vector<std::string> frames = sims[0]->frames();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.back(), "A");  // the abort button's CR and A
}

TEST_F(PlanRun, ATerminationDuringTheStartUpWritesTheReportsAndHangsUp) {
  startModule();
  dir.write("commport", "COM1:");
  std::unique_ptr<ChildProcess> corvane = start(kHead + alarm(), dir);
  // The start-up's link test has begun: the signal waits for its end.
  ASSERT_TRUE(sims[0]->waitForLog([](const auto& log) { return log.back().kind == "rx"; }, 10000));
  corvane->signal(SIGTERM);
  EXPECT_EQ(exitStatus(*corvane, 10000), 143) << output(dir);

  const std::string junit = dir.read("plan.xml");
  EXPECT_NE(junit.find("stopped: terminated (SIGTERM)"), std::string::npos) << junit;
  EXPECT_EQ(report(dir)["stopped"], "terminated (SIGTERM)");
  EXPECT_EQ(sims[0]->frames().back(), "A");
  EXPECT_EQ(sims[0]->joined("rx").find('G'), std::string::npos);  // no alarm went out
}

TEST_F(PlanRun, TwoRunsAtOnceInTwoFoldersKeepTheirOwnReports) {
  TempDir other;
  startModule({}, &dir);
  startModule({}, &other);
  dir.write("commport", "COM1:");
  other.write("commport", "COM1:");
  std::unique_ptr<ChildProcess> first = start(kHead + alarm("delivered", 10, 3), dir);
  std::unique_ptr<ChildProcess> second = start(kHead + alarm("delivered", 10, 2), other);
  EXPECT_EQ(exitStatus(*first), 0) << output(dir);
  EXPECT_EQ(exitStatus(*second), 0) << output(other);
  EXPECT_EQ(report(dir)["cases"].size(), 4u);  // the options and three alarms
  EXPECT_EQ(report(other)["cases"].size(), 3u);
  auto calls = [](SimProcess& sim) {
    int n = 0;
    for (const std::string& frame : sim.frames()) n += frame == "G";
    return n;
  };
  EXPECT_EQ(calls(*sims[0]), 3);
  EXPECT_EQ(calls(*sims[1]), 2);
}

TEST_F(PlanRun, ABusyPortMakesThePlanUnusable) {
  startModule();
  dir.write("commport", "COM1:");
  TermiosSerialPort holder(dir.path());
  ASSERT_TRUE(holder.open("COM1:", 9600));
  EXPECT_EQ(run(kHead + alarm()), 2);
  EXPECT_NE(output(dir).find("corvane: plan not run: no module answered on COM1:"), std::string::npos)
      << output(dir);
}

}  // namespace
