#pragma once

#include <string>

#include "halvard/test_email/mail_transport.h"

// The MailTransport of the program: SMTP through libcurl, one connection per send().
// Certificates are always verified (peer and host name), against the system's trust
// store, or against caFile when one is given (the loopback tests' own authority).
class CurlTransport : public MailTransport {
 public:
  // Initialises libcurl once for the process; construct it on the main thread.
  explicit CurlTransport(std::string caFile = {});

  AttemptOutcome send(const MailJob& job, const std::atomic<bool>& cancel,
                      const std::function<void(const SmtpLine&)>& onLine) override;

 private:
  std::string caFile_;
};
