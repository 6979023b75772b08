#include <string>
#include <vector>

#include "corvane/plan/dialog_adapter.h"
#include "corvane/plan/plan_runner.h"
#include "corvane/plan/plan_statistics.h"
#include "corvane_fixture.h"
#include "fake_module.h"

using namespace corvane_ids;

namespace {

// A plan run on the fake bench: the module on COM1: answers its registers and, for each
// call it is told to make (G, or B for a run's next message), the next of the reports
// the test lists (the last one again when they run out).
class PlanRunnerTest : public CorvaneFixture {
 protected:
  PlanRunnerTest() {
    module.registers[0x80] = 0x55;
    bench.addDevice(kModule, [this](std::string_view written, int baud) {
      if (written != "G" && written != "B") return module.answer(written, baud);
      const std::string report = reports.at(std::min(calls, reports.size() - 1));
      ++calls;
      return report;
    });
    dir.write("commport", kModule);
  }

  static PlanStep alarm(Expectation::Outcome outcome, int withinSeconds = 10) {
    PlanStep step;
    step.messages = {"123418113101015"};
    step.expect.outcome = outcome;
    step.expect.withinSeconds = withinSeconds;
    return step;
  }

  // Start-up, then ticks 100 ms apart until the plan has finished (at most ten minutes).
  const PlanResults& run(const std::function<void()>& eachTick = {}) {
    plan.port = kModule;
    dlg.startUp();
    EXPECT_EQ(runner.begin(adapter.linkBaudAtStartUp()), PlanRunner::Start::kReady) << runner.why();
    clearWire();
    for (int i = 0; i < 6000 && !runner.finished(); ++i) {
      clock.advance(100);
      tick();
      runner.afterTick();
      if (eachTick) eachTick();
    }
    EXPECT_TRUE(runner.finished());
    return runner.results();
  }

  FakeModule module;
  std::vector<std::string> reports{"MESSAGE SUCCESS\r\n"};
  std::size_t calls = 0;
  TestPlan plan;
  PlanListener quiet;
  DialogAdapter adapter{dlg, panel};
  PlanRunner runner{plan, {adapter, port, [this] { return clock.nowMs(); }, quiet,
                           [this] { return outside.status.last(); }}};
};

TEST_F(PlanRunnerTest, EachVerdictComesFromWhatTheModuleReports) {
  using O = Expectation::Outcome;
  struct Case {
    std::string report;
    O expect;
    Verdict verdict;
    bool passed;
    std::string words;
  };
  const std::vector<Case> cases = {
      {"DIALING 5551234\r\nMESSAGE SUCCESS\r\n", O::kDelivered, Verdict::kDelivered, true, ""},
      {"M00\r\n", O::kDelivered, Verdict::kDelivered, true, ""},
      {"RINGING\r\nFAILED: NO ANSWER\r\n", O::kDelivered, Verdict::kFailed, false, "FAILED: NO ANSWER"},
      {"FAILED: NO KISSOFF\r\n", O::kFailed, Verdict::kFailed, true, "FAILED: NO KISSOFF"},
      {"FAILED: NO KISSOFF\r\n", O::kFailed, Verdict::kFailed, false, "FAILED: NO KISSOFF"},  // wants NO ANSWER
      {"", O::kDelivered, Verdict::kNoReport, false, ""},
      {"", O::kNoReport, Verdict::kNoReport, true, ""},
      {"MESSAGE SUCCESS\r\n", O::kNoReport, Verdict::kDelivered, false, ""},
  };
  reports.clear();
  for (const Case& c : cases) {
    reports.push_back(c.report);
    plan.steps.push_back(alarm(c.expect, 5));
  }
  plan.steps[4].expect.failureText = "NO ANSWER";

  const PlanResults& results = run();
  ASSERT_EQ(results.cases.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const CaseResult& got = results.cases[i];
    EXPECT_EQ(got.verdict, cases[i].verdict) << i;
    EXPECT_EQ(got.passed, cases[i].passed) << i;
    EXPECT_EQ(got.words, cases[i].words) << i;
    if (got.verdict == Verdict::kNoReport) {
      EXPECT_GT(got.elapsedMs, 5000) << i;
    }
    if (got.verdict == Verdict::kDelivered) {
      EXPECT_LT(got.elapsedMs, 2000) << i;
    }
  }
  EXPECT_TRUE(results.stopped.empty());
  EXPECT_FALSE(results.allPassed());
}

TEST_F(PlanRunnerTest, ACallWithoutAReportIsHungUpAsTheAbortButtonDoes) {
  reports = {""};
  plan.steps.push_back(alarm(Expectation::Outcome::kDelivered, 3));
  const PlanResults& results = run();
  ASSERT_EQ(results.cases.size(), 1u);
  EXPECT_EQ(results.cases[0].verdict, Verdict::kNoReport);
  const std::string wire = sentBytes();
  // The whole transmission of the click, then, after the time allowed, CR and A.
  EXPECT_NE(wire.find("S123418113101015\rW3D00G\rA"), std::string::npos) << wire;
}

TEST_F(PlanRunnerTest, APortLostEndsThePlanWithThatVerdict) {
  reports = {""};
  plan.steps.push_back(alarm(Expectation::Outcome::kDelivered, 30));
  plan.steps.push_back(alarm(Expectation::Outcome::kDelivered, 30));
  const PlanResults& results = run([this] {
    if (sentBytes().ends_with("G")) unplugModule();
  });
  ASSERT_EQ(results.cases.size(), 1u);
  EXPECT_EQ(results.cases[0].verdict, Verdict::kPortLost);
  EXPECT_NE(results.stopped.find("port lost"), std::string::npos) << results.stopped;
  EXPECT_FALSE(results.allPassed());
}

TEST_F(PlanRunnerTest, AMultipleRunIsJudgedMessageByMessageWithItsStatistics) {
  PlanStep step = alarm(Expectation::Outcome::kDelivered);
  step.kind = PlanStep::Kind::kMultipleRun;
  step.messages = {"123418113101015", "123418313101015", "123418111001003"};
  step.repeat = 2;
  plan.steps.push_back(step);

  const PlanResults& results = run();
  ASSERT_EQ(results.cases.size(), 6u);
  for (const CaseResult& c : results.cases) EXPECT_EQ(c.verdict, Verdict::kDelivered) << c.name;
  EXPECT_EQ(results.cases[2].message, 3);
  EXPECT_EQ(results.cases[5].repetition, 2);
  // The messages went out by the edits' files, the run ended at the emptied fourth one.
  EXPECT_EQ(dir.read("alarmmessage3"), "123418111001003");
  EXPECT_EQ(dir.read("alarmmessage4"), "");
  EXPECT_NE(sentBytes().find("123418111001003\r"), std::string::npos);

  const DeliveryStatistics stats = deliveryStatistics(results.cases, 0);
  EXPECT_EQ(stats.alarms, 6);
  EXPECT_EQ(stats.successRate(), 1.0);
  ASSERT_TRUE(stats.minMs && stats.maxMs);
  EXPECT_LE(*stats.minMs, *stats.medianMs);
  EXPECT_LE(*stats.p95Ms, *stats.maxMs);
}

TEST_F(PlanRunnerTest, AMultipleRunMeantToFailPassesWhereItEndsSo) {
  using O = Expectation::Outcome;
  PlanStep step = alarm(O::kFailed, 5);
  step.kind = PlanStep::Kind::kMultipleRun;
  step.messages = {"123418113101015", "123418313101015", "123418111001003"};
  step.expect.failureText = "NO KISSOFF";
  plan.steps.push_back(step);  // fails at its second message, as meant
  plan.steps.push_back(step);  // every message delivered: not the end it expects
  step.expect.outcome = O::kNoReport;
  plan.steps.push_back(step);  // its first call never reports, as meant
  reports = {"MESSAGE SUCCESS\r\n", "FAILED: NO KISSOFF\r\n", "MESSAGE SUCCESS\r\n", "MESSAGE SUCCESS\r\n",
             "MESSAGE SUCCESS\r\n", ""};

  const PlanResults& results = run();
  struct Want {
    Verdict verdict;
    bool passed;
  };
  const Want wanted[] = {{Verdict::kDelivered, true}, {Verdict::kFailed, true},     {Verdict::kDone, true},
                         {Verdict::kDelivered, true}, {Verdict::kDelivered, true},  {Verdict::kDelivered, false},
                         {Verdict::kNoReport, true},  {Verdict::kDone, true},       {Verdict::kDone, true}};
  ASSERT_EQ(results.cases.size(), std::size(wanted));
  for (std::size_t i = 0; i < std::size(wanted); ++i) {
    EXPECT_EQ(results.cases[i].verdict, wanted[i].verdict) << i << " " << results.cases[i].name;
    EXPECT_EQ(results.cases[i].passed, wanted[i].passed) << i;
  }
  EXPECT_EQ(results.cases[1].words, "FAILED: NO KISSOFF");
  // The silent call was hung up as the abort button does.
  EXPECT_TRUE(sentBytes().ends_with("\rA")) << sentBytes();
}

TEST(PlanStatistics, NearestRankPercentiles) {
  std::vector<std::int64_t> times;
  for (int i = 1; i <= 100; ++i) times.push_back(i * 10);
  EXPECT_EQ(percentile(times, 0.95), 950);
  EXPECT_EQ(percentile({70}, 0.95), 70);
}

}  // namespace
