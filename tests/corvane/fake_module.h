#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_serial_port.h"

// A module for the fake bench that answers only at its own baud rate, as a real one
// does: "R"/"Q" + register read the register as two hex digits (00 when never set),
// "W" + register + value writes it, and the lone "R8" of the fast-rate link check is
// answered with two bytes. `replies` overrides the answer to one whole frame (a short
// or garbled reply). It must outlive the bench's use of its responder. It reads and
// writes hex digits on its own, so a fault in the product's conversions shows.
struct FakeModule {
  int baud = 9600;
  std::map<int, int> registers;
  std::map<std::string, std::string, std::less<>> replies;

  FakeSerialBench::Responder responder() {
    return [this](std::string_view written, int atBaud) { return answer(written, atBaud); };
  }

  std::string answer(std::string_view frame, int atBaud) {
    if (atBaud != baud) return {};
    if (auto it = replies.find(frame); it != replies.end()) return it->second;
    if (frame.size() == 3 && (frame[0] == 'R' || frame[0] == 'Q'))
      return hex(registers[parseHex(frame.substr(1, 2))]);
    if (frame.size() == 5 && frame[0] == 'W')
      registers[parseHex(frame.substr(1, 2))] = parseHex(frame.substr(3, 2));
    if (frame == "R8") return "R8";
    return {};
  }

  // Upper-case digits only, as the module takes them; anything else reads as -1.
  static int parseHex(std::string_view digits) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    int value = 0;
    for (char c : digits) {
      std::size_t d = kDigits.find(c);
      if (d == std::string_view::npos) return -1;
      value = value * 16 + static_cast<int>(d);
    }
    return value;
  }
  static std::string hex(int value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
  }
};

// Each write on the bench as "<virtual ms> <bytes>", CR shown as "\r".
inline std::vector<std::string> timedWrites(const FakeSerialBench& bench) {
  return bench.timeline().format({WireTimeline::Entry::kWrite}, WireTimeline::Words::kWire,
                                  WireTimeline::Times::kShown);
}

// Opens, failed opens and closes on the bench, as "open COM3: 115200", "fail COM4:",
// "close COM3:".
inline std::vector<std::string> portEvents(const FakeSerialBench& bench) {
  using E = WireTimeline::Entry;
  return bench.timeline().format({E::kOpen, E::kOpenFailed, E::kClose});
}

// The pauses of one register query: 30 ms, then 10 ms after each one-byte read
// until two bytes have come (a full reply) or six reads have been made (none).
inline std::vector<int> fullQueryPauses() { return {30, 10, 10}; }
inline std::vector<int> silentQueryPauses() { return {30, 10, 10, 10, 10, 10, 10}; }

inline std::vector<int> concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
