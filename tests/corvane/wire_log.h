#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_serial_port.h"
#include "fakes/virtual_clock.h"

// The line as the module saw it since the last clearWire(): every write as one entry
// and every pause as "~ms", in the order they happened. A test compares it with an
// expected Wire, so both the bytes and the pauses between them are checked.
struct Wire {
  std::vector<std::string> items;

  Wire& send(std::string_view bytes) {
    items.emplace_back(bytes);
    return *this;
  }
  Wire& pause(int ms) {
    items.push_back("~" + std::to_string(ms));
    return *this;
  }
  // Each character as its own write, each followed by pauseMs when that is not 0.
  Wire& each(std::string_view chars, int pauseMs = 0) {
    for (char c : chars) {
      send(std::string(1, c));
      if (pauseMs != 0) pause(pauseMs);
    }
    return *this;
  }
  Wire& then(const Wire& more) {
    items.insert(items.end(), more.items.begin(), more.items.end());
    return *this;
  }
};

// Rebuilds the order of writes and pauses from the writes' virtual times: a pause
// that ends no later than a write came before it.
inline std::vector<std::string> wireLog(const FakeSerialBench& bench, const VirtualClock& clock) {
  const std::vector<int>& pauses = clock.pauses();
  std::int64_t at = clock.nowMs() - clock.totalPausedMs();
  std::size_t next = 0;
  Wire wire;
  for (const FakeSerialBench::Event& e : bench.events()) {
    if (e.kind != FakeSerialBench::Event::kWrite) continue;
    for (; next < pauses.size() && at + pauses[next] <= e.atMs; ++next) {
      at += pauses[next];
      wire.pause(pauses[next]);
    }
    wire.send(e.bytes);
  }
  for (; next < pauses.size(); ++next) wire.pause(pauses[next]);
  return wire.items;
}
