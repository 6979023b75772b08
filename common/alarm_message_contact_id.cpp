// Contact-ID: 15 characters that the module sends as DTMF digits, then a checksum digit
// of its own.
//
//   AAAA MT Q EEE PP ZZZ
//   account, message type (18 or 98), event qualifier, event code, partition, zone or
//   user. Account, event code, partition and zone or user are hex digits of the DTMF
//   alphabet (0-9, B-F); type and qualifier are decimal.
#include <optional>

#include "common/alarm_message.h"
#include "common/alarm_message_parts.h"

namespace alarm_message {

namespace {

constexpr int kChecksumModulus = 15;

struct Field {
  std::size_t offset;
  std::size_t length;
  const char* name;
};

constexpr Field kAccount{0, 4, "account"};
constexpr Field kMessageType{4, 2, "message type"};
constexpr Field kQualifier{6, 1, "event qualifier"};
constexpr Field kEvent{7, 3, "event code"};
constexpr Field kPartition{10, 2, "partition"};
constexpr Field kZone{12, 3, "zone"};

bool isDecimal(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string_view fieldOf(std::string_view sent, const Field& field) {
  if (field.offset >= sent.size()) return {};
  return sent.substr(field.offset, field.length);
}

// A field as the summary and the detail show it; "-" where the message ends before it.
std::string shownField(std::string_view text) { return text.empty() ? "-" : shown(text); }

// The characters of a field that the format does not allow there.
std::string badCharacters(std::string_view text, bool hexAllowed) {
  std::string bad;
  for (char c : text) {
    bool digit = c >= '0' && c <= '9';
    bool hex = hexAllowed && c >= 'B' && c <= 'F';
    if (!digit && !hex) bad += shown(std::string_view(&c, 1));
  }
  return bad;
}

std::string qualifierMeaning(char qualifier, ContactIdQualifierWords words) {
  using W = ContactIdQualifierWords;
  switch (qualifier) {
    case '1': return words == W::OpenClose ? "opening" : words == W::StartEnd ? "start" : "new event";
    case '3': return words == W::OpenClose ? "closing" : words == W::StartEnd ? "end" : "restore";
    case '6': return "previously reported, still present";
    default: return {};
  }
}

// "name" cut with "..." to at most width characters (nothing when width is too small).
std::string fitted(const std::string& name, std::size_t width) {
  if (name.size() <= width) return name;
  if (width < 4) return {};
  return name.substr(0, width - 3) + "...";
}

}  // namespace

std::optional<int> contactIdDigitValue(char c) {
  if (c == '0') return 10;
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'B' && c <= 'F') return c - 'B' + 11;
  return std::nullopt;
}

std::optional<char> contactIdChecksumDigit(std::string_view fifteen) {
  if (fifteen.size() != kContactIdChars) return std::nullopt;
  int sum = 0;
  for (char c : fifteen) {
    std::optional<int> value = contactIdDigitValue(c);
    if (!value) return std::nullopt;
    sum += *value;
  }
  // A remainder of 0 needs a digit worth 15 (F): the checksum digit is never worth 0.
  int check = kChecksumModulus - sum % kChecksumModulus;
  if (check == 10) return '0';
  if (check < 10) return static_cast<char>('0' + check);
  return static_cast<char>('B' + check - 11);
}

AlarmExplanation explainContactId(std::string_view message, AlarmSending sending) {
  AlarmExplanation e;
  checkLength(e, "Contact-ID", message.size(), kContactIdChars);
  std::string_view sent = message.substr(0, kContactIdChars);

  std::string_view account = fieldOf(sent, kAccount);
  std::string_view type = fieldOf(sent, kMessageType);
  std::string_view qualifier = fieldOf(sent, kQualifier);
  std::string_view event = fieldOf(sent, kEvent);
  std::string_view partition = fieldOf(sent, kPartition);
  std::string_view zone = fieldOf(sent, kZone);

  for (const Field* field : {&kAccount, &kMessageType, &kQualifier, &kEvent, &kPartition, &kZone}) {
    bool hexAllowed = field != &kMessageType && field != &kQualifier;
    std::string bad = badCharacters(fieldOf(sent, *field), hexAllowed);
    if (!bad.empty()) {
      e.problems.push_back(std::string(field->name) + " " + shown(fieldOf(sent, *field)) +
                           ": not a Contact-ID digit: " + bad);
    }
  }
  if (type.size() == 2 && type != "18" && type != "98") {
    e.problems.push_back("message type " + shown(type) + ": Contact-ID is 18 or 98");
  }

  int code = isDecimal(event) && event.size() == 3 ? std::stoi(std::string(event)) : -1;
  std::string meaning =
      qualifier.size() == 1 ? qualifierMeaning(qualifier[0], contactIdQualifierWords(code)) : "";
  if (qualifier.size() == 1 && meaning.empty()) {
    e.problems.push_back("event qualifier " + shown(qualifier) +
                         ": 1 (new event or opening), 3 (restore or closing) or "
                         "6 (previously reported)");
  }
  std::string eventName(contactIdEventName(code));
  if (event.size() == 3 && eventName.empty() && badCharacters(event, true).empty()) {
    std::string_view group = contactIdEventGroup(code);
    e.problems.push_back("event code " + std::string(event) + " is not in the Contact-ID event list" +
                         (group.empty() ? "" : " (" + std::string(group) + " range)"));
  }
  std::optional<char> checksum = contactIdChecksumDigit(sent);
  const char* zoneWord = contactIdCarriesUser(code) ? "user" : "zone";

  // One line for the status line: the event first, as a station operator reads it.
  // The checksum stays in it: a long event name is shortened instead.
  std::string head = "Contact-ID " + shownField(account) + ": " + (meaning.empty() ? "event" : meaning) +
                     " " + shownField(event);
  std::string tail = ", partition " + shownField(partition) + ", " + zoneWord + " " + shownField(zone);
  if (checksum) tail += ", checksum " + std::string(1, *checksum);
  // 120 characters when the summary is all, less when a problem follows it.
  std::size_t budget = e.problems.empty() ? 120 : kSummaryKeptChars;
  std::size_t room = budget - std::min(budget, head.size() + tail.size() + 1);
  std::string name = fitted(eventName, room);
  e.summary = head + (name.empty() ? "" : " " + name) + tail;

  addDetail(e, "Contact-ID " + shown(sent) + (checksum ? " + checksum " + std::string(1, *checksum) : ""));
  addSendingDetail(e, sending);
  addDetail(e, "account " + shownField(account));
  addDetail(e, "message type " + shownField(type));
  addDetail(e, "event qualifier " + shownField(qualifier) + (meaning.empty() ? "" : ": " + meaning));
  std::string_view group = contactIdEventGroup(code);
  addDetail(e, "event " + shownField(event) + (eventName.empty() ? "" : ": " + eventName) +
                   (group.empty() ? "" : " (" + std::string(group) + ")"));
  addDetail(e, "partition " + shownField(partition));
  addDetail(e, std::string(zoneWord) + " " + shownField(zone));
  addDetail(e, checksum ? "checksum digit " + std::string(1, *checksum) + ", appended by the module"
                        : std::string("checksum: none can be worked out for these characters"));
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

}  // namespace alarm_message
