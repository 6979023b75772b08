#include "sim/core/frame.h"

namespace zmsim {

std::string_view Frame::text() const {
  std::string_view all(bytes);
  if (all.empty()) return all;
  all.remove_prefix(1);
  if (!all.empty() && all.back() == '\r') all.remove_suffix(1);
  return all;
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int hexPairValue(std::string_view pair) {
  if (pair.size() != 2) return -1;
  int high = hexDigitValue(pair[0]);
  int low = hexDigitValue(pair[1]);
  if (high < 0 || low < 0) return -1;
  return high * 16 + low;
}

std::string hexPair(unsigned value) {
  static const char kHex[] = "0123456789ABCDEF";
  return {kHex[(value >> 4) & 0x0F], kHex[value & 0x0F]};
}

}  // namespace zmsim
