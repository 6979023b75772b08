#include "halvard/test_email/test_email_message.h"

#include <random>

#include "halvard/test_email/mail_text.h"

namespace {

std::string messageId(const std::string& hostName) {
  std::random_device random;
  std::uniform_int_distribution<unsigned long long> digits;
  char id[40];
  std::snprintf(id, sizeof id, "%016llx", digits(random));
  return "<halvard-test." + std::string(id) + "@" + (hostName.empty() ? "localhost" : hostName) + ">";
}

}  // namespace

std::string testEmailNote(const std::string& hostName, std::time_t when) {
  return "This is a test e-mail sent by Halvard on " +
         (hostName.empty() ? std::string("this computer") : hostName) + " at " +
         mail_text::rfc5322Date(when) + " to prove the e-mail settings.";
}

std::string composeTestEmail(const TestEmailSettings& settings, const MailAddressing& addressing,
                             const std::string& hostName, std::time_t when) {
  std::string to;
  for (const std::string& recipient : addressing.recipients)
    to += (to.empty() ? "<" : ", <") + recipient + ">";
  std::string text;
  text += "Date: " + mail_text::rfc5322Date(when) + "\r\n";
  text += "From: " + addressing.fromHeader + "\r\n";
  if (!addressing.senderHeader.empty()) text += "Sender: " + addressing.senderHeader + "\r\n";
  text += "To: " + to + "\r\n";
  text += "Subject: " + mail_text::headerText(settings.subject) + "\r\n";
  text += "Message-ID: " + messageId(hostName) + "\r\n";
  text += "MIME-Version: 1.0\r\n";
  text += "Content-Type: text/plain; charset=UTF-8\r\n";
  text += "Content-Transfer-Encoding: quoted-printable\r\n";
  text += "X-Mailer: Halvard test e-mail\r\n";
  text += "\r\n";
  std::string body =
      mail_text::latin1ToUtf8(settings.firstLine) + "\r\n\r\n" + testEmailNote(hostName, when) + "\r\n";
  text += mail_text::quotedPrintable(body);
  return text;
}
