#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A broken invariant stops the fuzzer with the input that broke it: libFuzzer saves
// the input as a crash artifact when the process aborts.
#define FUZZ_CHECK(condition, what)                                                  \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n  (%s)\n", __FILE__, __LINE__, \
                   std::string(what).c_str(), #condition);                           \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

namespace fuzz {

// Bytes shown so that a report of a broken invariant can be read: printable ASCII as
// it is, everything else as \xHH.
inline std::string visible(std::string_view bytes, std::size_t maxChars = 120) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes.substr(0, maxChars)) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && u != '\\') {
      out += c;
    } else {
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 0x0F];
    }
  }
  if (bytes.size() > maxChars) out += "...";
  return out;
}

}  // namespace fuzz
