#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halvard/test_email/mail_transport.h"

// What a test e-mail found out, stage by stage, in the operator's words. Built on the
// test's own thread and handed whole to the dialog's thread, so it holds no pointers.
enum class StageVerdict {
  kPassed,
  kFailed,
  kNote,  // neither: a step left out, with the reason (no user name, no STARTTLS offered)
};

struct Stage {
  std::string name;  // "Name", "Connection", "TLS", "Login", "Recipient", ...
  StageVerdict verdict = StageVerdict::kPassed;
  std::string text;
  std::int64_t ms = -1;  // how long the stage took; -1: not measured
};

// One connection tried: one route of the server field.
struct AttemptReport {
  SmtpRoute route;
  Failure failure = Failure::kNone;
  std::vector<Stage> stages;
  std::int64_t totalMs = 0;
};

struct TestEmailReport {
  enum class Result { kRunning, kDelivered, kFailed, kCancelled, kNotStarted };

  Result result = Result::kRunning;
  std::string problem;             // kNotStarted: what in the fields stops the test
  std::vector<std::string> notes;  // said before the stages (one recipient only...)
  std::vector<AttemptReport> attempts;
  std::string activity;  // kRunning: what goes on now ("port 465: EHLO sent")
  std::int64_t totalMs = 0;
  int boundMs = 0;

  // The route that took the message, or nullptr.
  const AttemptReport* delivered() const;
};

// The report for the result window, one line a stage, each attempt under its route.
std::vector<std::string> reportLines(const TestEmailReport& report);

// One line for the status line: the verdict, where, and the server's words on it.
std::string summaryLine(const TestEmailReport& report);
