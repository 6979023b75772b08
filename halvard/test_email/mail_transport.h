#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One SMTP connection that tries to hand one e-mail to a server, as a narrow interface:
// the real one goes through libcurl (CurlTransport), tests script a fake. What comes
// back is what happened on the way (the address, the certificate, every line of the
// conversation with the time it went), which TestEmailReport turns into stages.

// How the connection gets its encryption.
enum class TlsMode {
  kImplicit,           // TLS from the first byte (port 465, "smtps")
  kStartTlsRequired,   // STARTTLS, and nothing more is sent when the server lacks it
  kStartTlsIfOffered,  // STARTTLS when the server offers it, else on in plain text
};

struct SmtpRoute {
  std::string host;
  int port = 0;
  TlsMode tls = TlsMode::kImplicit;
};

struct MailJob {
  SmtpRoute route;
  std::string userName;  // empty: no login
  std::string password;
  std::string envelopeFrom;             // MAIL FROM
  std::vector<std::string> recipients;  // RCPT TO, in order
  std::string message;                  // the whole message, CRLF line ends
  std::string heloName;                 // the name we give in EHLO; empty: the library's own
  int connectTimeoutMs = 10000;         // to have a TCP connection
  int totalTimeoutMs = 30000;           // for everything, the connection included
};

// Why an attempt ended early.
enum class Failure {
  kNone,
  kResolve,          // the name is not known
  kConnectRefused,   // nothing listens on that port
  kConnectTimedOut,  // no connection within the connect time-out
  kConnect,          // another reason (no route, network down): see detail
  kTlsHandshake,     // the TLS handshake failed (not TLS on that port, no common version)
  kCertificate,      // the certificate was refused: see TlsInfo::problem
  kStartTlsMissing,  // the password would have gone in plain text: nothing was sent
  kLogin,            // the server refused the user name or password
  kRefused,          // the server refused a command: its reply is in the conversation
  kTimedOut,         // the bound ran out
  kCancelled,        // the operator pressed Cancel
  kOther,            // see detail
};

enum class CertificateProblem {
  kNone,
  kExpired,
  kNotYetValid,
  kSelfSigned,
  kUntrustedIssuer,  // issued by an authority this computer does not trust
  kOtherName,        // made for another server name
  kOther,
};

struct TlsInfo {
  bool used = false;    // a TLS handshake was started
  std::string version;  // "TLSv1.3"
  std::string subject;  // of the server's own certificate, "CN=mail.example.com"
  std::string issuer;
  std::string validFrom;  // "2025-01-31 12:00 UTC"
  std::string validUntil;
  CertificateProblem problem = CertificateProblem::kNone;
  std::string problemDetail;  // the TLS library's own words
};

// One line of the conversation. Secrets are already hidden: a line that carried the
// password or a login token reads "AUTH PLAIN (hidden)" or "(hidden)".
struct SmtpLine {
  bool fromServer = false;
  std::string text;       // without the line end
  std::int64_t atMs = 0;  // since the attempt began
};

struct AttemptOutcome {
  Failure failure = Failure::kNone;
  std::string detail;   // the library's words for the failure, never a secret
  std::string address;  // the address connected to, or tried last
  int port = 0;
  // Milliseconds since the attempt began at which each step was done; -1: not reached.
  std::int64_t resolvedAtMs = -1;
  std::int64_t connectedAtMs = -1;
  std::int64_t tlsDoneAtMs = -1;  // implicit TLS only; STARTTLS shows in the lines
  std::int64_t totalMs = 0;
  TlsInfo tls;
  std::vector<SmtpLine> lines;
};

class MailTransport {
 public:
  virtual ~MailTransport() = default;
  // Blocks until the server has the message, the attempt failed, the job's time-out ran
  // out, or cancel turned true (then it ends within about a second). onLine sees each
  // line of the conversation as it goes, from the calling thread. Safe to call from any
  // thread, one call at a time per transport or several at once.
  virtual AttemptOutcome send(const MailJob& job, const std::atomic<bool>& cancel,
                              const std::function<void(const SmtpLine&)>& onLine) = 0;
};
