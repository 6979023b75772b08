#pragma once

#include <ctime>
#include <string>
#include <string_view>

// The text rules of an e-mail, for fields that hold Latin-1 bytes and may hold line
// ends (the settings files keep every byte as typed or as another program wrote it).
namespace mail_text {

std::string latin1ToUtf8(std::string_view latin1);

// The field on one line: each run of control bytes (CR, LF, tab...) becomes one blank,
// and blanks around it go. A header can then never be split into two.
std::string singleLine(std::string_view latin1);

// A header's text: as it is when it is printable ASCII, else one RFC 2047 encoded word
// in UTF-8, so any byte of the field arrives as the character it shows.
std::string headerText(std::string_view latin1);

// A display name before an address: "Alarm panel", quoted, or an encoded word.
std::string displayName(std::string_view latin1);

// A body in quoted-printable: lines of at most 76 characters, every byte outside
// printable ASCII as =XX, CR LF, a lone CR and a lone LF all as one line break.
std::string quotedPrintable(std::string_view utf8);

// "" when the text is one address with a user and a domain ("user@example.com"),
// nothing around it; else why not, in words that follow the field's label.
std::string addressProblem(std::string_view address);

// "Tue, 01 Jul 2025 10:00:00 +0200": the Date: header, in local time, whatever the
// locale of the program.
std::string rfc5322Date(std::time_t when);

}  // namespace mail_text
