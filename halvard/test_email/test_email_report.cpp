#include "halvard/test_email/test_email_report.h"

#include <cstdio>

#include "halvard/test_email/smtp_routes.h"

namespace {

std::string seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
  return text;
}

std::string mark(StageVerdict verdict) {
  switch (verdict) {
    case StageVerdict::kPassed:
      return "ok  ";
    case StageVerdict::kFailed:
      return "FAIL";
    case StageVerdict::kNote:
      return "note";
  }
  return "    ";
}

const Stage* failedStage(const AttemptReport& attempt) {
  for (const Stage& stage : attempt.stages) {
    if (stage.verdict == StageVerdict::kFailed) return &stage;
  }
  return nullptr;
}

const Stage* namedStage(const AttemptReport& attempt, const std::string& name) {
  for (const Stage& stage : attempt.stages) {
    if (stage.name == name) return &stage;
  }
  return nullptr;
}

}  // namespace

const AttemptReport* TestEmailReport::delivered() const {
  if (result != Result::kDelivered || attempts.empty()) return nullptr;
  return &attempts.back();
}

std::vector<std::string> reportLines(const TestEmailReport& report) {
  std::vector<std::string> lines;
  if (report.result == TestEmailReport::Result::kNotStarted) {
    lines.push_back("Not sent: " + report.problem);
    return lines;
  }
  for (const std::string& note : report.notes) lines.push_back("note  " + note);
  if (report.result == TestEmailReport::Result::kRunning) {
    for (const AttemptReport& attempt : report.attempts) {
      lines.push_back("Server " + describeRoute(attempt.route) + ": " +
                      (attempt.stages.empty() ? "" : attempt.stages.back().text));
    }
    lines.push_back(summaryLine(report));
    return lines;
  }
  for (const AttemptReport& attempt : report.attempts) {
    lines.push_back("Server " + describeRoute(attempt.route) + ":");
    for (const Stage& stage : attempt.stages) {
      std::string line = "  " + mark(stage.verdict) + "  " + stage.name + ": " + stage.text;
      if (stage.ms >= 0) line += "  [" + std::to_string(stage.ms) + " ms]";
      lines.push_back(line);
    }
  }
  lines.push_back(summaryLine(report));
  return lines;
}

std::string summaryLine(const TestEmailReport& report) {
  using Result = TestEmailReport::Result;
  switch (report.result) {
    case Result::kNotStarted:
      return "Test e-mail not sent: " + report.problem;
    case Result::kRunning:
      return "Test e-mail: " + (report.activity.empty() ? std::string("starting") : report.activity);
    case Result::kCancelled:
      return "Test e-mail cancelled after " + seconds(report.totalMs);
    case Result::kDelivered: {
      const AttemptReport& attempt = *report.delivered();
      const Stage* message = namedStage(attempt, "Message");
      std::string line =
          "Test e-mail accepted by " + describeRoute(attempt.route) + " in " + seconds(report.totalMs);
      if (const Stage* refused = failedStage(attempt)) line += "; " + refused->name + " " + refused->text;
      if (message != nullptr) line += ": " + message->text;
      return line;
    }
    case Result::kFailed:
      break;
  }
  std::string line = "Test e-mail failed";
  if (!report.attempts.empty()) {
    const AttemptReport& last = report.attempts.back();
    if (const Stage* failed = failedStage(last)) {
      line += " at " + failed->name + " on " + describeRoute(last.route) + ": " + failed->text;
    }
    if (report.attempts.size() > 1) line += " (" + std::to_string(report.attempts.size()) + " ports tried)";
  }
  return line;
}
