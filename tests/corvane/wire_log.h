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

// The wire since the last clearWire(), in the same form: each write's bytes and each
// pause as "~ms", in the order they happened.
inline std::vector<std::string> wireLog(const FakeSerialBench&, const VirtualClock& clock) {
  using E = WireTimeline::Entry;
  return clock.timeline().format({E::kWrite, E::kPause}, WireTimeline::Words::kWire);
}
