#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "common/command_line.h"
#include "corvane/plan/json_report.h"
#include "corvane/plan/junit_report.h"
#include "corvane/plan/report_file.h"
#include "fakes/temp_dir.h"

namespace {

PlanResults twoCases() {
  PlanResults results;
  results.planFile = "plan <1>.toml";
  results.stepCount = 1;
  results.finished = true;
  results.stopped = "port lost: COM1: went away";
  CaseResult delivered;
  delivered.name = "step 1: alarm Contact-ID \"123\" & more";
  delivered.verdict = Verdict::kDelivered;
  delivered.passed = true;
  delivered.elapsedMs = 1250;
  delivered.log = "    10 ms  rx M<00>\x01\xff\n";
  results.cases.push_back(delivered);
  CaseResult lost = delivered;
  lost.repetition = 2;
  lost.verdict = Verdict::kPortLost;
  lost.passed = false;
  lost.words = "COM1: went away";
  results.cases.push_back(lost);
  return results;
}

TEST(PlanReports, JUnitHoldsEveryCaseAndOnlyCharactersXmlAllows) {
  const std::string xml = junitReport(twoCases());
  EXPECT_NE(xml.find("<testsuite name=\"plan &lt;1&gt;.toml\" tests=\"2\" failures=\"1\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("name=\"step 1: alarm Contact-ID &quot;123&quot; &amp; more\" time=\"1.250\""), std::string::npos);
  EXPECT_NE(xml.find("<failure message=\"port lost: COM1: went away\" type=\"port lost\">"), std::string::npos);
  // A control byte or a byte that is not UTF-8 would make the whole file unreadable.
  EXPECT_NE(xml.find("rx M&lt;00&gt;&lt;01&gt;&lt;FF&gt;\n"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<system-err>stopped: port lost: COM1: went away</system-err>"), std::string::npos);
}

TEST(PlanReports, JsonCarriesVerdictsAndStatisticsAndIsReplacedWhole) {
  const nlohmann::json json = nlohmann::json::parse(jsonReport(twoCases()));
  EXPECT_EQ(json["passed"], false);
  EXPECT_EQ(json["cases"][1]["verdict"], "port lost");
  EXPECT_EQ(json["statistics"][0]["alarms"], 2);
  EXPECT_EQ(json["statistics"][0]["median_ms"], 1250);

  TempDir dir;
  dir.write("plan.json", "old");
  std::string error;
  ASSERT_TRUE(replaceFileWhole(dir.path() / "plan.json", "new", error)) << error;
  EXPECT_EQ(dir.read("plan.json"), "new");
  EXPECT_FALSE(replaceFileWhole(dir.path() / "missing/plan.json", "x", error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}

TEST(PlanCommandLine, OnlyCorvaneTakesPlansAndTheirReportsGoWithRun) {
  const CommandLine run = parseCommandLine({"--run", "p.toml", "--junit", "r.xml"}, true);
  EXPECT_EQ(run.action, CommandLine::Action::Run);
  EXPECT_EQ(run.runPlan, "p.toml");
  EXPECT_EQ(run.junitFile, "r.xml");
  EXPECT_EQ(parseCommandLine({"--run", "p.toml"}, false).error, "unknown option --run");
  EXPECT_EQ(parseCommandLine({"--json", "r.json"}, true).error, "--junit and --json go with --run");
  EXPECT_EQ(parseCommandLine({"--check", "a", "--run", "b"}, true).action, CommandLine::Action::Refuse);
}

}  // namespace
