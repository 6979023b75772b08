#pragma once

#include <cstdint>
#include <string>
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

}  // namespace zmsim::testing
