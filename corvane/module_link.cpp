#include "corvane/module_link.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvane/protocol/register_map.h"

namespace {

int hexDigit(char c) {
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  int d = static_cast<signed char>(c) - '0';
  if (d > 9) d -= 7;
  return d;
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// "12.500" -> "12.5", "3.000" -> "3"; a text without a point is left alone.
void dropTrailingZeros(std::string& text) {
  if (text.find('.') == std::string::npos) return;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
}

}  // namespace

std::string ModuleLink::queryRegister(std::string_view frame) {
  sendBytes(frame);
  pauseMs(30);
  std::string reply;
  for (int attempt = 0; attempt < 6 && reply.size() < 2; ++attempt) {
    reply += readUpTo(1);
    pauseMs(10);
  }
  return reply;
}

std::string ModuleLink::registerLinkCheck(std::string_view reg) {
  constexpr int kStepMs = 100;
  constexpr std::size_t kStaleInputBytes = 100;
  namespace rm = register_map;
  const rm::FrameText query = rm::registerFrame(rm::kRead, reg);
  for (int i = 0; i < 3; ++i) sendByte('\r');
  pauseMs(kStepMs);
  readUpTo(kStaleInputBytes);
  queryRegister(query);
  sendBytes(rm::writeFrame(reg, rm::kTestValue));
  pauseMs(kStepMs);
  std::string reply = queryRegister(query);
  pauseMs(kStepMs);
  return reply;
}

int hexPairToByte(char p0, char p1) { return 16 * hexDigit(p0) + hexDigit(p1); }

int hexPairToByte(std::string_view text, std::size_t i) {
  char p0 = i < text.size() ? text[i] : '\0';
  char p1 = i + 1 < text.size() ? text[i + 1] : '\0';
  return hexPairToByte(p0, p1);
}

bool isHexPair(std::string_view pair) {
  return pair.size() == 2 && isHexDigit(pair[0]) && isHexDigit(pair[1]);
}

std::string formatGeneral(double value, int digits) {
  digits = std::clamp(digits, 1, 17);
  char buf[400];
  if (!std::isfinite(value) || value == 0) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, value);
    return buf;
  }
  // The exponent after rounding to `digits` digits decides the notation, so 9.9999999999
  // rounds up to "10" rather than to a fixed text with one digit too many.
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
  const char* mark = std::strchr(buf, 'e');
  int exponent = std::atoi(mark + 1);
  if (exponent < -1 || exponent >= digits) {
    std::string mantissa(static_cast<const char*>(buf), mark);
    dropTrailingZeros(mantissa);
    return mantissa + mark;
  }
  std::snprintf(buf, sizeof buf, "%.*f", digits - 1 - exponent, value);
  std::string fixed(buf);
  dropTrailingZeros(fixed);
  return fixed;
}
