#pragma once

#include <atomic>
#include <ctime>
#include <functional>
#include <string>

#include "common/clock.h"
#include "halvard/test_email/mail_transport.h"
#include "halvard/test_email/test_email_report.h"
#include "halvard/test_email/test_email_settings.h"

struct TestEmailRunOptions {
  int boundMs = 30000;           // the whole test, every port tried included
  int connectTimeoutMs = 10000;  // for each TCP connection
  std::string hostName;          // this computer, named in EHLO and in the e-mail
  std::time_t when = 0;          // the e-mail's date
};

// Sends the test e-mail with the fields as given: checks them, then tries the routes
// of SMTP SERVER in their order, going on to the next only when a route could not
// carry the mail at all (no connection, no TLS there, no STARTTLS for the password),
// never after the server has judged the login, an address or the message. Blocks the
// calling thread for at most the bound (plus about a second after a cancel); progress
// sees a report at each step, from the calling thread. clock times the bound.
TestEmailReport runTestEmail(const TestEmailSettings& settings, const TestEmailRunOptions& options,
                             MailTransport& transport, Clock& clock, const std::atomic<bool>& cancel,
                             const std::function<void(const TestEmailReport&)>& progress);
