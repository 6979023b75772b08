#include "halvard/test_email/test_email_run.h"

#include <algorithm>

#include "halvard/test_email/attempt_stages.h"
#include "halvard/test_email/smtp_routes.h"
#include "halvard/test_email/test_email_message.h"

namespace {

// A route that could not carry the mail at all: the automatic order tries the next.
bool nextRouteMayDo(Failure failure) {
  switch (failure) {
    case Failure::kConnectRefused:
    case Failure::kConnectTimedOut:
    case Failure::kConnect:
    case Failure::kTlsHandshake:
    case Failure::kStartTlsMissing:
      return true;
    default:
      return false;
  }
}

bool messageAccepted(const AttemptReport& attempt) {
  return std::any_of(attempt.stages.begin(), attempt.stages.end(), [](const Stage& stage) {
    return stage.name == "Message" && stage.verdict == StageVerdict::kPassed;
  });
}

}  // namespace

TestEmailReport runTestEmail(const TestEmailSettings& settings, const TestEmailRunOptions& options,
                             MailTransport& transport, Clock& clock, const std::atomic<bool>& cancel,
                             const std::function<void(const TestEmailReport&)>& progress) {
  clock.stopwatchStart();
  TestEmailReport report;
  report.boundMs = options.boundMs;
  const MailAddressing addressing = mailAddressingFor(settings);
  const SmtpRoutes routes = smtpRoutesFor(settings.serverName, !settings.password.empty());
  if (!routes.problem.empty() || !addressing.problem.empty()) {
    report.result = TestEmailReport::Result::kNotStarted;
    report.problem = !routes.problem.empty() ? routes.problem : addressing.problem;
    return report;
  }
  if (addressing.recipients.size() == 1)
    report.notes.push_back("one to address is empty: one recipient only");
  if (routes.automatic) {
    report.notes.push_back("SMTP SERVER names no port: trying 465, then 587, then 25");
  }
  if (!settings.password.empty() && settings.userName.empty()) {
    report.notes.push_back("PASSWORD is set but USER NAME is empty: no login is tried");
  }
  MailJob job;
  job.userName = settings.userName;
  job.password = job.userName.empty() ? std::string() : settings.password;
  job.envelopeFrom = addressing.envelopeFrom;
  job.recipients = addressing.recipients;
  job.message = composeTestEmail(settings, addressing, options.hostName, options.when);
  job.heloName = options.hostName;
  for (const SmtpRoute& route : routes.routes) {
    auto elapsed = static_cast<std::int64_t>(clock.stopwatchElapsedMs());
    int left = options.boundMs - static_cast<int>(elapsed);
    if (cancel || left <= 0) break;
    job.route = route;
    job.totalTimeoutMs = left;
    job.connectTimeoutMs = std::min(options.connectTimeoutMs, left);
    report.activity = "trying " + describeRoute(route);
    progress(report);
    AttemptOutcome outcome = transport.send(job, cancel, [&](const SmtpLine& line) {
      report.activity =
          describeRoute(route) + (line.fromServer ? ": the server says " : ": sent ") + line.text;
      report.totalMs = static_cast<std::int64_t>(clock.stopwatchElapsedMs());
      progress(report);
    });
    report.attempts.push_back(attemptReport(job, outcome));
    if (!routes.automatic || !nextRouteMayDo(outcome.failure)) break;
  }
  report.totalMs = static_cast<std::int64_t>(clock.stopwatchElapsedMs());
  report.activity.clear();
  if (!report.attempts.empty() && messageAccepted(report.attempts.back())) {
    report.result = TestEmailReport::Result::kDelivered;
  } else if (cancel) {
    report.result = TestEmailReport::Result::kCancelled;
  } else {
    report.result = TestEmailReport::Result::kFailed;
  }
  if (report.attempts.empty() && report.result == TestEmailReport::Result::kFailed) {
    report.problem =
        "the bound of " + std::to_string(options.boundMs / 1000) + " s ran out before a route was tried";
  }
  return report;
}
