#pragma once

#include <string>
#include <vector>

// The e-mail fields as the window holds them when the operator asks for a test, as
// bytes in the fields' single-byte character set (Latin-1). A copy: the test runs
// beside the dialog and the operator may go on editing.
struct TestEmailSettings {
  std::string serverName;
  std::string userName;
  std::string password;
  std::string sender;
  std::string fromAddress;
  std::string toAddress;
  std::string secondToAddress;
  std::string subject;
  std::string firstLine;
};

// How SENDER and FROM ADDRESS become the envelope and the headers:
//
// - FROM ADDRESS is the author: the address of the From: header.
// - SENDER that is not one plain address (user@domain) is a display name:
//   From: "SENDER" <FROM ADDRESS>.
// - SENDER holding one address other than FROM ADDRESS is the mailbox that sends on the
//   author's behalf: From: <FROM ADDRESS>, Sender: <SENDER>, and it is the envelope's
//   MAIL FROM, so bounces go to it. Otherwise MAIL FROM is FROM ADDRESS.
// - The two to addresses are the recipients (RCPT TO) and both stand in the To: header;
//   an empty one is left out.
// Blanks around an address and any line end in a field never reach the server.
struct MailAddressing {
  std::string envelopeFrom;
  std::string fromHeader;    // the whole value after "From: "
  std::string senderHeader;  // the value after "Sender: ", or empty: no Sender: header
  std::vector<std::string> recipients;
  std::string problem;  // why no e-mail can be sent with these fields
};

MailAddressing mailAddressingFor(const TestEmailSettings& settings);
