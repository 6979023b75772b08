#include <cctype>
#include <string_view>

#include "halvard/test_email/mail_text.h"
#include "halvard/test_email/test_email_settings.h"

namespace {

// An address as it goes on the wire: no blanks around it, no control byte anywhere
// (a line end in a field must not open a new command or header).
std::string cleanAddress(std::string_view field) {
  std::string out;
  for (char c : field) {
    if (static_cast<unsigned char>(c) > ' ' && c != 0x7F) out += c;
  }
  return out;
}

}  // namespace

MailAddressing mailAddressingFor(const TestEmailSettings& settings) {
  MailAddressing result;
  const std::string from = cleanAddress(settings.fromAddress);
  const std::string senderText = mail_text::singleLine(settings.sender);
  const bool senderIsAddress = mail_text::addressProblem(senderText).empty();
  const std::string senderAddress = senderIsAddress ? cleanAddress(senderText) : std::string();
  if (from.empty()) {
    result.problem = "FROM ADDRESS is empty: type the address the e-mails come from";
    return result;
  }
  for (const std::string* field : {&settings.toAddress, &settings.secondToAddress}) {
    std::string to = cleanAddress(*field);
    if (!to.empty()) result.recipients.push_back(to);
  }
  if (result.recipients.empty()) {
    result.problem = "TO ADDRESS and SECOND TO EMAIL ADDRESS are both empty: the e-mail has nowhere to go";
    return result;
  }
  result.envelopeFrom = from;
  result.fromHeader = "<" + from + ">";
  if (senderIsAddress && senderAddress != from) {
    result.envelopeFrom = senderAddress;
    result.senderHeader = "<" + senderAddress + ">";
  } else if (!senderIsAddress && !senderText.empty()) {
    result.fromHeader = mail_text::displayName(senderText) + " <" + from + ">";
  }
  return result;
}
