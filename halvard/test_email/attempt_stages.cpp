#include "halvard/test_email/attempt_stages.h"

#include <algorithm>
#include <optional>

#include "halvard/test_email/smtp_conversation.h"

namespace {

std::string secondsText(int ms) { return std::to_string((ms + 999) / 1000) + " s"; }

std::int64_t span(std::int64_t from, std::int64_t to) {
  // Two clocks (libcurl's and the lines') may differ by a millisecond.
  return from >= 0 && to >= 0 ? std::max<std::int64_t>(0, to - from) : -1;
}

// Builds the stages in order and stops at the first that failed.
class StageList {
 public:
  StageList(const MailJob& job, const AttemptOutcome& outcome)
      : job_(job), outcome_(outcome), turns_(smtpTurns(outcome.lines)) {}

  AttemptReport build() {
    AttemptReport report;
    report.route = job_.route;
    report.failure = outcome_.failure;
    report.totalMs = outcome_.totalMs;
    if (name() && connection()) {
      bool implicit = job_.route.tls == TlsMode::kImplicit;
      bool ok = implicit ? (tls() && greeting()) : (greeting() && tls());
      if (ok && login() && sender() && recipients()) message();
    }
    endOfRun();
    report.stages = std::move(stages_);
    return report;
  }

 private:
  bool add(const char* name, StageVerdict verdict, std::string text, std::int64_t ms = -1) {
    stages_.push_back(Stage{name, verdict, std::move(text), ms});
    return verdict != StageVerdict::kFailed;
  }
  bool failed(Failure kind) const { return outcome_.failure == kind; }
  bool ended() const { return outcome_.failure != Failure::kNone; }

  // A stage that was not reached: the failure belongs to it when the run is over and
  // the failure is not one a later stage explains.
  bool notReached(const char* name, const std::string& awaited) {
    if (failed(Failure::kTimedOut)) {
      // libcurl gives the greeting, STARTTLS and the login only the connect time-out.
      bool bound = outcome_.totalMs + 500 >= job_.totalTimeoutMs;
      return add(name, StageVerdict::kFailed,
                 "no " + awaited +
                     (bound ? " within the bound of " + secondsText(job_.totalTimeoutMs)
                            : " within " + secondsText(job_.connectTimeoutMs) +
                                  ", the time allowed to connect and log in"));
    }
    if (failed(Failure::kCancelled))
      return add(name, StageVerdict::kFailed, "cancelled while waiting for " + awaited);
    if (ended())
      return add(name, StageVerdict::kFailed,
                 outcome_.detail.empty() ? "the connection ended" : outcome_.detail);
    return false;  // still running: nothing to say yet
  }

  std::optional<std::size_t> find(const char* verb, std::size_t from = 0) const {
    for (std::size_t i = from; i < turns_.size(); ++i) {
      if (turns_[i].is(verb)) return i;
    }
    return std::nullopt;
  }

  bool name() {
    const std::string& host = job_.route.host;
    if (failed(Failure::kResolve)) {
      return add("Name", StageVerdict::kFailed,
                 host + " is not known: check the spelling of SMTP SERVER and this computer's network" +
                     (outcome_.detail.empty() ? "" : " (" + outcome_.detail + ")"));
    }
    if (outcome_.resolvedAtMs < 0) return notReached("Name", "address for " + host);
    std::string text = outcome_.address == host ? host + " is an address: nothing to look up"
                                                : host + " is " + outcome_.address;
    return add("Name", StageVerdict::kPassed, text, outcome_.resolvedAtMs);
  }

  bool connection() {
    const std::string where = "port " + std::to_string(job_.route.port) + " of " + outcome_.address;
    if (failed(Failure::kConnectRefused)) {
      return add("Connection", StageVerdict::kFailed,
                 where + ": connection refused: no mail server listens there");
    }
    if (failed(Failure::kConnectTimedOut)) {
      return add("Connection", StageVerdict::kFailed,
                 where + ": no connection within " + secondsText(job_.connectTimeoutMs) +
                     ": the server is down or a firewall drops this port");
    }
    if (failed(Failure::kConnect))
      return add("Connection", StageVerdict::kFailed, where + ": " + outcome_.detail);
    if (outcome_.connectedAtMs < 0) return notReached("Connection", "connection to " + where);
    return add("Connection", StageVerdict::kPassed, "connected to " + where,
               span(outcome_.resolvedAtMs, outcome_.connectedAtMs));
  }

  bool greeting() {
    auto at = find(SmtpTurn::kGreeting);
    if (!at || !turns_[*at].answered()) return notReached("Greeting", "greeting from the server");
    const SmtpTurn& turn = turns_[*at];
    std::int64_t since = outcome_.tlsDoneAtMs >= 0 ? outcome_.tlsDoneAtMs : outcome_.connectedAtMs;
    if (turn.code != 220) {
      return add("Greeting", StageVerdict::kFailed, "the server turns us away: " + turn.codeAndWords(),
                 span(since, turn.repliedAtMs));
    }
    return add("Greeting", StageVerdict::kPassed, turn.codeAndWords(), span(since, turn.repliedAtMs));
  }

  std::string certificateText() const {
    const TlsInfo& tls = outcome_.tls;
    std::string text;
    if (!tls.subject.empty()) text += "certificate " + tls.subject;
    if (!tls.issuer.empty()) text += ", issued by " + tls.issuer;
    if (!tls.validFrom.empty()) text += ", valid " + tls.validFrom + " to " + tls.validUntil;
    return text;
  }

  bool tls() {
    const TlsInfo& tls = outcome_.tls;
    const bool implicit = job_.route.tls == TlsMode::kImplicit;
    auto startTls = find("STARTTLS");
    std::int64_t ms = implicit ? span(outcome_.connectedAtMs, outcome_.tlsDoneAtMs) : -1;
    if (startTls) {
      const SmtpTurn& turn = turns_[*startTls];
      std::int64_t doneAt = *startTls + 1 < turns_.size() ? turns_[*startTls + 1].sentAtMs : turn.repliedAtMs;
      ms = span(turn.sentAtMs, doneAt);
      if (turn.answered() && turn.code != 220) {
        return add("TLS", StageVerdict::kFailed, "the server refuses STARTTLS: " + turn.codeAndWords(), ms);
      }
    }
    if (failed(Failure::kCertificate)) {
      std::string text = "certificate refused: " + certificateAdvice(tls, job_.route.host);
      std::string details = certificateText();
      if (!details.empty()) text += " (" + details + ")";
      return add("TLS", StageVerdict::kFailed, text, ms);
    }
    if (failed(Failure::kTlsHandshake)) {
      return add("TLS", StageVerdict::kFailed,
                 "handshake failed: " + outcome_.detail + "; the server may not speak TLS on port " +
                     std::to_string(job_.route.port),
                 ms);
    }
    if (failed(Failure::kStartTlsMissing)) {
      return add("TLS", StageVerdict::kFailed,
                 "the server does not offer STARTTLS on port " + std::to_string(job_.route.port) +
                     ", so the password was not sent over a plain connection; use the port your provider "
                     "names for encrypted mail (465 or 587)");
    }
    bool handshakeDone = implicit ? outcome_.tlsDoneAtMs >= 0 : (startTls && turns_.size() > *startTls + 1);
    if (!tls.version.empty() && handshakeDone) {
      std::string text = tls.version;
      std::string details = certificateText();
      if (!details.empty()) text += ", " + details;
      return add("TLS", StageVerdict::kPassed, text + ", trusted", ms);
    }
    if (!implicit && !startTls && find("MAIL FROM")) {
      return add("TLS", StageVerdict::kNote,
                 "the server offers no STARTTLS: the mail went unencrypted (no password was sent)");
    }
    return notReached("TLS", implicit ? "TLS handshake" : "STARTTLS");
  }

  bool login() {
    auto at = find("AUTH");
    if (job_.userName.empty()) {
      return add("Login", StageVerdict::kNote, "no USER NAME: sent without logging in");
    }
    if (!at) {
      if (failed(Failure::kLogin)) return add("Login", StageVerdict::kFailed, outcome_.detail);
      if (find("MAIL FROM")) {
        return add("Login", StageVerdict::kNote,
                   "the server offers no login here: the mail went without USER NAME and PASSWORD");
      }
      return notReached("Login", "the login");
    }
    std::size_t last = *at;
    while (turns_[last].code == 334 && last + 1 < turns_.size()) ++last;
    const SmtpTurn& reply = turns_[last];
    std::int64_t ms = span(turns_[*at].sentAtMs, reply.repliedAtMs);
    if (!reply.answered() || reply.code == 334) return notReached("Login", "an answer to the login");
    if (reply.code == 235)
      return add("Login", StageVerdict::kPassed, "accepted: " + reply.codeAndWords(), ms);
    return add("Login", StageVerdict::kFailed,
               "refused: " + reply.codeAndWords() + ": check USER NAME and PASSWORD", ms);
  }

  bool sender() {
    auto at = find("MAIL FROM");
    if (!at || !turns_[*at].answered()) return notReached("Sender", "an answer to MAIL FROM");
    const SmtpTurn& turn = turns_[*at];
    std::int64_t ms = span(turn.sentAtMs, turn.repliedAtMs);
    std::string who = "<" + job_.envelopeFrom + ">";
    if (turn.code / 100 == 2)
      return add("Sender", StageVerdict::kPassed, who + " accepted: " + turn.codeAndWords(), ms);
    return add("Sender", StageVerdict::kFailed, who + " refused: " + turn.codeAndWords(), ms);
  }

  bool recipients() {
    std::size_t from = 0;
    int accepted = 0;
    for (const std::string& recipient : job_.recipients) {
      auto at = find("RCPT TO", from);
      if (!at || !turns_[*at].answered()) return notReached("Recipient", "an answer for <" + recipient + ">");
      const SmtpTurn& turn = turns_[*at];
      from = *at + 1;
      std::int64_t ms = span(turn.sentAtMs, turn.repliedAtMs);
      if (turn.code / 100 == 2) {
        ++accepted;
        add("Recipient", StageVerdict::kPassed, "<" + recipient + "> accepted: " + turn.codeAndWords(), ms);
      } else {
        // The other recipient still gets the mail: this stage alone failed.
        stages_.push_back(Stage{"Recipient", StageVerdict::kFailed,
                                "<" + recipient + "> refused: " + turn.codeAndWords(), ms});
      }
    }
    return accepted > 0;
  }

  bool message() {
    auto data = find("DATA");
    if (!data || !turns_[*data].answered()) return notReached("Message", "an answer to DATA");
    const SmtpTurn& start = turns_[*data];
    if (start.code != 354) {
      return add("Message", StageVerdict::kFailed, "refused before its text: " + start.codeAndWords(),
                 span(start.sentAtMs, start.repliedAtMs));
    }
    auto end = find(SmtpTurn::kEndOfData, *data);
    if (!end || !turns_[*end].answered()) return notReached("Message", "the server's verdict on the message");
    const SmtpTurn& verdict = turns_[*end];
    std::int64_t ms = span(start.sentAtMs, verdict.repliedAtMs);
    if (verdict.code / 100 == 2)
      return add("Message", StageVerdict::kPassed, "accepted: " + verdict.codeAndWords(), ms);
    return add("Message", StageVerdict::kFailed, "refused: " + verdict.codeAndWords(), ms);
  }

  // A run that ended for a reason no stage shows (the bound ran out after the message
  // was accepted, a cancel): one last line, so the report never ends silently.
  void endOfRun() {
    bool shown = std::any_of(stages_.begin(), stages_.end(),
                             [](const Stage& s) { return s.verdict == StageVerdict::kFailed; });
    if (!ended() || shown) return;
    if (failed(Failure::kCancelled)) {
      add("End", StageVerdict::kFailed, "cancelled by the operator");
    } else if (failed(Failure::kTimedOut)) {
      add("End", StageVerdict::kFailed, "the bound of " + secondsText(job_.totalTimeoutMs) + " ran out");
    } else {
      add("End", StageVerdict::kFailed,
          outcome_.detail.empty() ? "the connection ended early" : outcome_.detail);
    }
  }

  const MailJob& job_;
  const AttemptOutcome& outcome_;
  std::vector<SmtpTurn> turns_;
  std::vector<Stage> stages_;
};

}  // namespace

AttemptReport attemptReport(const MailJob& job, const AttemptOutcome& outcome) {
  return StageList(job, outcome).build();
}

std::string certificateAdvice(const TlsInfo& tls, const std::string& host) {
  switch (tls.problem) {
    case CertificateProblem::kExpired:
      return "it expired on " + tls.validUntil + "; the server's certificate must be renewed";
    case CertificateProblem::kNotYetValid:
      return "it is valid only from " + tls.validFrom + "; check this computer's date and time";
    case CertificateProblem::kSelfSigned:
      return "it is self-signed, so nothing vouches for the server; use the server name your provider "
             "gives, or have the server use a certificate from a public authority";
    case CertificateProblem::kUntrustedIssuer:
      return "it was issued by an authority this computer does not trust; install that authority's "
             "certificate in the system's store (update-ca-certificates) if it is your own";
    case CertificateProblem::kOtherName:
      return "it was made for another name than " + host +
             "; type the name the certificate names in SMTP SERVER";
    case CertificateProblem::kOther:
    case CertificateProblem::kNone:
      break;
  }
  return tls.problemDetail.empty() ? std::string("the server's certificate could not be verified")
                                   : tls.problemDetail;
}
