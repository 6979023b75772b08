#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/serial_port.h"

// Everything that happened on the fake line, in the order it happened: the clock's
// pauses and every open, write, read and fault of the fake ports. VirtualClock owns
// one; FakeSerialBench records into it. Because pauses and port events share one
// list, a test sees them in their real order, not rebuilt from times.
class WireTimeline {
 public:
  struct Entry {
    enum Kind {
      kOpen,        // "open COM1: 9600"
      kOpenFailed,  // "fail COM1:" (problem says why)
      kClose,       // "close COM1:"
      kWrite,       // "write COM1: R80": the bytes reached the device
      kPurge,       // "purge COM1:"
      kRead,        // "read COM1: 1A": only reads that returned bytes
      kLost,        // "lost COM1: R80": written, never reached the device
      kGone,        // "gone COM1:": the port noticed its device went away and closed
      kStat,        // "stat COM1:": one check whether a lost device is back
      kReopen,      // "reopen COM1: 9600": the lost device came back and was reopened
      kStall,       // "stall COM1: 2000": a write blocked this long before it ended
      kPause,       // "pause 30": the code under test paused
    };
    Kind kind;
    std::string device;  // empty for pauses
    std::string bytes;   // written, lost or read bytes
    int baud = 0;
    std::int64_t atMs = 0;
    int ms = 0;  // kPause, kStall: how long
    PortProblem::Kind problem = PortProblem::Kind::kNone;  // kOpenFailed: why
  };

  // How format() words an entry: kEvents "write COM1: R80", "pause 30"; kWire as the
  // module hears the line, a write its bytes alone ("R80") and a pause "~30" (other
  // entries as in kEvents).
  enum class Words { kEvents, kWire };
  // Whether each line begins with its virtual time: "120 open COM1: 9600".
  enum class Times { kHidden, kShown };

  // Every kind but the clock's pauses: what the ports did.
  static std::vector<Entry::Kind> portKinds() {
    return {Entry::kOpen, Entry::kOpenFailed, Entry::kClose,  Entry::kWrite,
            Entry::kPurge, Entry::kRead,       Entry::kLost,   Entry::kGone,
            Entry::kStat,  Entry::kReopen,     Entry::kStall};
  }

  void add(Entry entry) { entries_.push_back(std::move(entry)); }
  const std::vector<Entry>& entries() const { return entries_; }
  void clear() { entries_.clear(); }
  void removeKinds(std::initializer_list<Entry::Kind> kinds) {
    std::erase_if(entries_, [&](const Entry& e) { return isOneOf(e.kind, kinds); });
  }
  void keepOnlyKinds(std::initializer_list<Entry::Kind> kinds) {
    std::erase_if(entries_, [&](const Entry& e) { return !isOneOf(e.kind, kinds); });
  }
  std::vector<Entry> select(std::initializer_list<Entry::Kind> kinds) const {
    std::vector<Entry> out;
    for (const Entry& e : entries_)
      if (isOneOf(e.kind, kinds)) out.push_back(e);
    return out;
  }

  // The one way the tests put the timeline into words: the entries of the given
  // kinds, in order, one line each.
  std::vector<std::string> format(const std::vector<Entry::Kind>& kinds, Words words = Words::kEvents,
                                  Times times = Times::kHidden) const {
    std::vector<std::string> lines;
    for (const Entry& e : entries_) {
      if (std::find(kinds.begin(), kinds.end(), e.kind) == kinds.end()) continue;
      std::string at = times == Times::kShown ? std::to_string(e.atMs) + " " : std::string();
      lines.push_back(at + describe(e, words));
    }
    return lines;
  }

  static std::string describe(const Entry& e, Words words) {
    if (words == Words::kWire && e.kind == Entry::kWrite) return e.bytes;
    if (words == Words::kWire && e.kind == Entry::kPause) return "~" + std::to_string(e.ms);
    switch (e.kind) {
      case Entry::kOpen: return "open " + e.device + " " + std::to_string(e.baud);
      case Entry::kOpenFailed: return "fail " + e.device;
      case Entry::kClose: return "close " + e.device;
      case Entry::kWrite: return "write " + e.device + " " + e.bytes;
      case Entry::kPurge: return "purge " + e.device;
      case Entry::kRead: return "read " + e.device + " " + e.bytes;
      case Entry::kLost: return "lost " + e.device + " " + e.bytes;
      case Entry::kGone: return "gone " + e.device;
      case Entry::kStat: return "stat " + e.device;
      case Entry::kReopen: return "reopen " + e.device + " " + std::to_string(e.baud);
      case Entry::kStall: return "stall " + e.device + " " + std::to_string(e.ms);
      case Entry::kPause: return "pause " + std::to_string(e.ms);
    }
    return {};
  }

 private:
  static bool isOneOf(Entry::Kind kind, std::initializer_list<Entry::Kind> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
  }

  std::vector<Entry> entries_;
};
