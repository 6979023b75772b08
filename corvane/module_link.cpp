#include "corvane/module_link.h"

namespace {

int hexDigit(char c) {
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  int d = static_cast<signed char>(c) - '0';
  if (d > 9) d -= 7;
  return d;
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

int hexPairToByte(char p0, char p1) { return 16 * hexDigit(p0) + hexDigit(p1); }

int hexPairToByte(std::string_view text, std::size_t i) {
  char p0 = i < text.size() ? text[i] : '\0';
  char p1 = i + 1 < text.size() ? text[i + 1] : '\0';
  return hexPairToByte(p0, p1);
}
