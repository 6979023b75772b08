#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/core/module.h"

namespace zmsim::testing {

struct Timed {
  std::int64_t ms;
  std::string text;
  bool operator==(const Timed&) const = default;
};

// Moves the module's time from its events up to toMs, collecting what it sends and
// when, as the runner would.
inline std::vector<Timed> runUntil(Module& module, std::int64_t toMs) {
  std::vector<Timed> sent;
  while (std::optional<std::int64_t> next = module.nextEventMs()) {
    if (*next > toMs) break;
    module.advance(*next);
    std::string out = module.takeOutput();
    if (!out.empty()) sent.push_back({*next, out});
  }
  return sent;
}

inline std::string joined(const std::vector<Timed>& sent) {
  std::string all;
  for (const Timed& t : sent) all += t.text;
  return all;
}

// Sends bytes and returns the immediate answer.
inline std::string ask(Module& module, std::string_view bytes, std::int64_t ms = 0) {
  module.receive(bytes, ms);
  return module.takeOutput();
}

// The lines as the PC's display would break them: at CR LF, zero bytes left out.
inline std::vector<std::string> linesOf(std::string_view out) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : out) {
    if (c == '\0') continue;
    if (c == '\n') {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

// Whether a line is one the module sends, whole: not two run into one, nor a piece.
inline bool knownLine(std::string_view line) {
  static const std::vector<std::string_view> whole = {
      "MESSAGE SUCCESS", "FAILED: NO KISSOFF", "FAILED: NO ANSWER", "FAILED: NO NUMBER",
      "ON HOOK", "RINGING", "NEXT MESSAGE", "NO CALL IN PROGRESS", "DEFAULTS RESTORED",
      "BUSY, G IGNORED", "BUSY, B IGNORED", "OFF HOOK", "AUDIO ON", "AUDIO OFF", "LEVEL 0 DB",
      "LEVEL -6 DB", "DIAL TONE OK", "KISSOFF WAIT", "SIA 110 BAUD", "SIA 300 BAUD"};
  // The rest of these lines is the module's own, so a result line inside one shows.
  static const std::vector<std::string_view> prefixes = {
      "SENDING ", "HANDSHAKE ", "DIALER TIMEOUT ", "KISSOFF WAIT ", "TRACE "};
  // The rest of these is the PC's number or message, any printable text.
  static const std::vector<std::string_view> echoes = {"DIALING ", "MSG "};
  for (std::string_view w : whole) {
    if (line == w) return true;
  }
  for (std::string_view p : prefixes) {
    if (line.starts_with(p) && line.find("MESSAGE") == std::string_view::npos &&
        line.find("FAILED") == std::string_view::npos) {
      return true;
    }
  }
  for (std::string_view p : echoes) {
    if (line.starts_with(p)) return true;
  }
  return false;
}

}  // namespace zmsim::testing
