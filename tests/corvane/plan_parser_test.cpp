#include <gtest/gtest.h>

#include <string>

#include "corvane/plan/plan_checker.h"
#include "corvane/plan/plan_parser.h"
#include "fakes/temp_dir.h"

namespace {

// Every problem of a plan as --check prints it: parse, then check the messages.
std::string problemsOf(const std::string& text, const std::filesystem::path& dir = "/nonexistent") {
  ParsedPlan parsed = parsePlanText(text, "plan.toml", dir);
  PlanProblems problems = parsed.ok() ? checkPlan(parsed.plan).problems : parsed.problems;
  std::string printed;
  for (const PlanProblem& p : problems) printed += formatProblem("plan.toml", p) + "\n";
  return printed;
}

const std::string kHead = "port = \"COM1:\"\n[[step]]\ndo = \"alarm\"\nformat = \"contact-id\"\n";

TEST(PlanParser, BadPlansSayWhatIsWrongAndWhere) {
  struct Case {
    const char* what;
    std::string plan;
    std::string printed;
  };
  const Case cases[] = {
      {"syntax", "port = \"COM1:\n",
       "plan.toml:1:14: not TOML: Error while parsing string: unescaped control characters other than TAB "
       "(U+0009) are explicitly prohibited\n"},
      {"unknown key", kHead + "message = \"123418113101015\"\nwithn = 30\n",
       "plan.toml:6:1: unknown key \"withn\" in step 1 (known: do, format, message, message_file, expect, "
       "failure, within, repeat, wrong_on_purpose)\n"},
      {"wrong type", kHead + "message = \"123418113101015\"\nwithin = \"30\"\n",
       "plan.toml:6:10: \"within\" in step 1 must be a whole number, not a string\n"},
      {"impossible value", kHead + "message = \"123418113101015\"\nrepeat = 0\n",
       "plan.toml:6:10: \"repeat\" in step 1 is 0: it must be 1 to 10000 times\n"},
      {"Contact-ID of 14 digits", kHead + "message = \"12341811310101\"\n",
       "plan.toml:5:11: step 1: Contact-ID message \"12341811310101\" is wrong: Contact-ID sends 15 "
       "characters, the message has only 14: the rest goes out as a zero byte and filler "
       "(wrong_on_purpose = true sends it as it is)\n"},
      {"port name too long for ./commport", "port = \"/dev/ttyUSB0\"\n[[step]]\ndo = \"pause\"\nseconds = 1\n",
       "plan.toml:1:8: \"port\" is \"/dev/ttyUSB0\": Corvane keeps at most 8 characters of a port name; make "
       "ports/COM1 a link to the device and name COM1:\n"},
      {"run message that ends the run", "port = \"detect\"\n[[step]]\ndo = \"multiple-run\"\nformat = "
       "\"pulse-4x2\"\nmessages = [\"123431\", \"X23431\"]\nwrong_on_purpose = true\n",
       "plan.toml:5:23: step 1, message 2: it begins with X, which ends a multiple run\n"},
      {"missing message file", kHead + "message_file = \"gone.txt\"\n",
       "plan.toml:5:16: cannot read the message file /nonexistent/gone.txt\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(problemsOf(c.plan), c.printed) << c.what;
}

TEST(PlanParser, AMessageMeantWrongIsSentAsItIs) {
  EXPECT_EQ(problemsOf(kHead + "message = \"12341811310101\"\nwrong_on_purpose = true\n"), "");
}

TEST(PlanParser, ReadsWhatTheInstallerWouldDo) {
  TempDir dir;
  dir.write("pulse.txt", "123431");
  const ParsedPlan parsed = parsePlanText(
      "port = \"COM2\"\nspeed = 115200\ntelephone = \"5551234\"\n"
      "[options]\naudio = true\ntone_hz = 2300\ndialer_timeout = \"0A\"\n"
      "[[step]]\ndo = \"alarm\"\nformat = \"pulse-4x2\"\nmessage_file = \"pulse.txt\"\n"
      "expect = \"failed\"\nfailure = \"NO ANSWER\"\nwithin = 30\nrepeat = 3\n"
      "[[step]]\ndo = \"factory-defaults\"\n[[step]]\ndo = \"pause\"\nseconds = 2\n",
      "plan.toml", dir.path());
  ASSERT_TRUE(parsed.ok()) << parsed.problems.front().message;
  const TestPlan& plan = parsed.plan;
  EXPECT_EQ(plan.port, "COM2:");
  EXPECT_EQ(plan.speed, 115200);
  EXPECT_EQ(plan.options.audio, true);
  EXPECT_EQ(plan.options.tone1400, false);
  EXPECT_EQ(plan.options.statusMessages, std::nullopt);
  ASSERT_EQ(plan.steps.size(), 3u);
  const PlanStep& alarm = plan.steps[0];
  EXPECT_EQ(alarm.format, AlarmFormat::kPulse4x2);
  EXPECT_EQ(alarm.messages, std::vector<std::string>{"123431"});
  EXPECT_EQ(alarm.expect.outcome, Expectation::Outcome::kFailed);
  EXPECT_EQ(alarm.expect.failureText, "NO ANSWER");
  EXPECT_EQ(alarm.expect.withinSeconds, 30);
  EXPECT_EQ(countAlarms(plan), 3);
  EXPECT_EQ(plan.steps[2].pauseSeconds, 2);
}

}  // namespace
