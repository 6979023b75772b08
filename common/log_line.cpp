#include "common/log_line.h"

#include <cstdio>
#include <limits>

std::string escapeBytes(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    auto u = static_cast<unsigned char>(c);
    if (u == '\r') {
      out += "<CR>";
    } else if (u == '\n') {
      out += "<LF>";
    } else if (u >= 0x20 && u < 0x7F && u != '<') {
      out += c;
    } else {
      out += '<';
      out += kHex[u >> 4];
      out += kHex[u & 0x0F];
      out += '>';
    }
  }
  return out;
}

std::string formatLogLine(std::int64_t ms, std::string_view text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%8lld ms  ", static_cast<long long>(ms));
  std::string out = stamp;
  out += text;
  return out;
}

std::optional<LogLine> parseLogLine(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  std::size_t unit = text.find(" ms  ", first);
  if (unit == std::string_view::npos || unit == first) return std::nullopt;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  LogLine parsed;
  for (std::size_t i = first; i < unit; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const int digit = text[i] - '0';
    // A stamp too long for the counter is not a time this log wrote.
    if (parsed.ms > (kMax - digit) / 10) return std::nullopt;
    parsed.ms = parsed.ms * 10 + digit;
  }
  std::string_view rest = text.substr(unit + 5);
  std::size_t space = rest.find(' ');
  parsed.kind = std::string(rest.substr(0, space));
  if (space != std::string_view::npos) parsed.text = std::string(rest.substr(space + 1));
  return parsed;
}
