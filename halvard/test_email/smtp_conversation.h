#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halvard/test_email/mail_transport.h"

// The lines of one SMTP conversation paired into turns: a command and the server's
// reply to it. The greeting, and the reply to the end of the message's data, are turns
// without a command of their own (kGreeting, kEndOfData).
struct SmtpTurn {
  static constexpr const char* kGreeting = "(greeting)";
  static constexpr const char* kEndOfData = "(end of message)";

  std::string command;
  int code = 0;       // 0: no (complete) reply came
  std::string reply;  // the reply's lines after the code, joined by " / "
  std::int64_t sentAtMs = 0;
  std::int64_t repliedAtMs = -1;

  bool answered() const { return code != 0; }
  // "535 5.7.8 Authentication credentials invalid"
  std::string codeAndWords() const;
  // The command's first word(s), e.g. "MAIL FROM", "RCPT TO", "AUTH", upper case.
  bool is(const char* verb) const;
};

std::vector<SmtpTurn> smtpTurns(const std::vector<SmtpLine>& lines);
