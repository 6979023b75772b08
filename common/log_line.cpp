#include "common/log_line.h"

#include <cstdio>
#include <ctime>
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

std::string formatLogLine(std::string_view wallClock, std::int64_t ms, std::string_view text) {
  std::string out(wallClock);
  out += ' ';
  out += formatLogLine(ms, text);
  return out;
}

std::string formatWallClock(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  const auto sinceEpochMs = duration_cast<milliseconds>(at.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(sinceEpochMs / 1000);
  long long millis = sinceEpochMs % 1000;
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  std::tm local{};
  localtime_r(&seconds, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  // strftime's %z has no colon ("+0100"); ISO 8601's extended form wants "+01:00".
  const long offsetMinutes = local.tm_gmtoff / 60;
  const long absMinutes = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  char text[64];
  std::snprintf(text, sizeof text, "%s.%03lld%c%02ld:%02ld", date, millis,
                offsetMinutes < 0 ? '-' : '+', absMinutes / 60, absMinutes % 60);
  return text;
}

std::optional<LogLine> parseLogLine(std::string_view text) {
  std::string wallClock;
  // A wall-clock time is one word that starts with a date ("2026-12-08T...").
  if (text.size() > 11 && text[0] >= '0' && text[0] <= '9' && text[4] == '-' &&
      text[10] == 'T') {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    wallClock = std::string(text.substr(0, space));
    text.remove_prefix(space);
  }
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  std::size_t unit = text.find(" ms  ", first);
  if (unit == std::string_view::npos || unit == first) return std::nullopt;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  LogLine parsed;
  parsed.wallClock = std::move(wallClock);
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
