#include "halvard/test_email/smtp_conversation.h"

#include <cctype>
#include <cstring>

std::string SmtpTurn::codeAndWords() const {
  if (!answered()) return "no reply";
  return reply.empty() ? std::to_string(code) : std::to_string(code) + " " + reply;
}

bool SmtpTurn::is(const char* verb) const {
  std::size_t n = std::strlen(verb);
  if (command.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::toupper(static_cast<unsigned char>(command[i])) !=
        std::toupper(static_cast<unsigned char>(verb[i])))
      return false;
  }
  return command.size() == n || command[n] == ' ' || command[n] == ':';
}

namespace {

// "250-SIZE" continues a reply, "250 OK" or "250" ends it; anything else is not a reply line.
bool replyLine(const std::string& text, int& code, bool& last) {
  if (text.size() < 3) return false;
  for (int i = 0; i < 3; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  code = std::stoi(text.substr(0, 3));
  last = text.size() == 3 || text[3] != '-';
  return true;
}

}  // namespace

std::vector<SmtpTurn> smtpTurns(const std::vector<SmtpLine>& lines) {
  std::vector<SmtpTurn> turns;
  bool replying = false;  // the last turn's reply has begun but not ended
  for (const SmtpLine& line : lines) {
    if (!line.fromServer) {
      turns.push_back(SmtpTurn{line.text, 0, {}, line.atMs, -1});
      replying = false;
      continue;
    }
    int code = 0;
    bool last = false;
    bool isReply = replyLine(line.text, code, last);
    if (turns.empty() || (turns.back().answered() && !replying)) {
      // A reply nobody asked for: the greeting, or the verdict on the message's data.
      bool afterData = !turns.empty() && turns.back().is("DATA") && turns.back().code == 354;
      turns.push_back(SmtpTurn{afterData ? SmtpTurn::kEndOfData : SmtpTurn::kGreeting, 0, {}, line.atMs, -1});
    }
    SmtpTurn& turn = turns.back();
    std::string words = isReply ? line.text.substr(std::min<std::size_t>(4, line.text.size())) : line.text;
    if (!words.empty()) turn.reply += (turn.reply.empty() ? "" : " / ") + words;
    replying = isReply && !last;
    if (isReply && last) {
      turn.code = code;
      turn.repliedAtMs = line.atMs;
    }
  }
  return turns;
}
