#pragma once

#include <ctime>
#include <string>

#include "halvard/test_email/test_email_settings.h"

// The test e-mail: the headers of the addressing, the SUBJECT as typed, and a body of
// the first line of the e-mails followed by a line that says it is a test, from which
// host and when. CRLF line ends, quoted-printable UTF-8, ready for the server.
std::string composeTestEmail(const TestEmailSettings& settings, const MailAddressing& addressing,
                             const std::string& hostName, std::time_t when);

// The line that marks the e-mail as a test, as it stands in the body.
std::string testEmailNote(const std::string& hostName, std::time_t when);
