#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A test plan: what an installer would do at Corvane's window, in the order they would
// do it, and what each alarm must lead to. Read from a TOML file by plan_parser.h,
// checked by plan_checker.h, carried out by plan_runner.h. A plain value.

// Where something stands in the plan file, for the messages that point at it. Line and
// column count from 1; 0 when unknown.
struct PlanPlace {
  int line = 0;
  int column = 0;
};

// The four reporting formats, as the plan names them and as the window's buttons do.
enum class AlarmFormat { kContactId, kSiaFskF1, kPulse4x2, kSiaFskF2 };

struct FormatInfo {
  AlarmFormat format;
  const char* planName;   // "contact-id"
  const char* shownName;  // "Contact-ID"
  char protocolCode;      // the register 7F value the module gets
  int buttonId;           // the radio button that selects it
};

const FormatInfo& formatInfo(AlarmFormat format);
std::optional<AlarmFormat> formatFromPlanName(std::string_view name);
// "contact-id, sia-fsk-f1, pulse-4x2, sia-fsk-f2", for messages.
std::string formatPlanNames();

// What must happen after an alarm is sent, within withinSeconds of the click.
struct Expectation {
  enum class Outcome { kDelivered, kFailed, kNoReport };
  Outcome outcome = Outcome::kDelivered;
  // kFailed: words the module's report must hold; empty for any failure report.
  std::string failureText;
  int withinSeconds = 60;
};

struct PlanStep {
  enum class Kind { kAlarm, kMultipleRun, kFactoryDefaults, kPause };
  Kind kind = Kind::kAlarm;
  PlanPlace place;  // the step's [[step]] header

  // kAlarm: one message; kMultipleRun: 2 to 8, the first typed into "alarm message".
  AlarmFormat format = AlarmFormat::kContactId;
  std::vector<std::string> messages;
  std::vector<PlanPlace> messagePlaces;  // one per message
  bool wrongOnPurpose = false;           // the module's own handling of a bad message
  Expectation expect;
  int repeat = 1;

  int pauseSeconds = 0;  // kPause
};

// The module options the plan sets before the first step; each one only when given.
struct PlanOptions {
  std::optional<bool> audio;
  std::optional<bool> statusMessages;
  std::optional<bool> debugMessages;
  std::optional<bool> sia110Baud;
  std::optional<bool> reduce6db;
  std::optional<bool> tone1400;  // tone_hz = 1400 (true) or 2300 (false)
  std::optional<std::string> dialerTimeout;  // two hex digits, 2-second counts
  std::optional<std::string> kissoffTime;
};

struct TestPlan {
  std::string file;  // as given, for messages
  std::string port;  // "COM1:", a path, or kDetectPort
  std::optional<int> speed;
  std::optional<std::string> telephone;
  PlanOptions options;
  std::vector<PlanStep> steps;

  static constexpr const char* kDetectPort = "detect";
};

// A message as the plan's messages show it: printable ASCII as it is, any other byte
// as <HH>, so a zero byte or a line end in a message is seen.
std::string shownMessage(std::string_view message);

// Each alarm a plan sends, counted with repetitions and the messages of multiple runs.
int countAlarms(const TestPlan& plan);
// "alarm Contact-ID 123418113101015", "multiple run Pulse 4X2 (3 messages)",
// "factory defaults", "pause 5 s": what a step does, in a progress line.
std::string describeStep(const PlanStep& step);
