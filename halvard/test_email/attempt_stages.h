#pragma once

#include "halvard/test_email/mail_transport.h"
#include "halvard/test_email/test_email_report.h"

// The stages of one attempt, in the order they happen on its route, from what the
// transport saw: the name, the connection, TLS and the greeting (in the route's
// order), the login, the sender, each recipient, the message. A stage that failed
// ends the list; a stage that was never reached is not listed.
// Works on a partial outcome too (the lines so far), for the window's live view.
AttemptReport attemptReport(const MailJob& job, const AttemptOutcome& outcome);

// What the operator can do about a refused certificate, in plain words.
std::string certificateAdvice(const TlsInfo& tls, const std::string& host);
