#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "halvard/test_email/mail_transport.h"

// Where the test e-mail goes, from the SMTP SERVER field as typed: "host", "host:port",
// "[v6 address]:port", optionally after "smtp://" or "smtps://".
//
// - Port 465, or smtps://, is TLS from the start; any other port is STARTTLS.
// - Without a port, the order that mail clients' automatic set-up tries: 465 with TLS
//   from the start, then 587 and then 25 with STARTTLS.
// - STARTTLS is required whenever a password goes with the mail, so it is never sent in
//   plain text; without one, a server that lacks STARTTLS still gets the mail.
struct SmtpRoutes {
  std::vector<SmtpRoute> routes;  // in the order to try them; empty when problem is set
  bool automatic = false;         // no port was given: the order above
  std::string problem;            // why the field names no server, for the operator
};

SmtpRoutes smtpRoutesFor(std::string_view serverField, bool withPassword);

// "mail.example.com:587 (STARTTLS)", as the operator reads a route.
std::string describeRoute(const SmtpRoute& route);
