#pragma once

#include <string>
#include <utility>

#include "halvard/test_email/test_email_settings.h"

// A test e-mail from the panel to the operators and the night shift, through server
// with the given login; the rest of the fields are the test's own.
inline TestEmailSettings benchMailSettings(std::string server, std::string user, std::string password) {
  TestEmailSettings s;
  s.serverName = std::move(server);
  s.userName = std::move(user);
  s.password = std::move(password);
  s.fromAddress = "panel@example.com";
  s.toAddress = "ops@example.com";
  s.secondToAddress = "night@example.com";
  return s;
}
