#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/module_options.h"

namespace zmsim {

// What the module has loaded when G or B arrives.
struct CallSetup {
  std::string number;
  std::string shownNumber;     // the number as the DIALING line shows it, printable
  std::uint8_t format = 0;     // register 7F
  std::string message;         // as the format sends it, printable
  std::uint8_t options = 0;    // register AB
  std::uint8_t control = 0;    // register AC
  std::uint8_t tone = 0;       // register B1
  std::uint8_t dialerTimeout = 0;  // register 82, 2-second units
  std::uint8_t kissoffTime = 0;    // register 83, 2-second units
  // What the receiving station makes of the message (station_report.h), one line each.
  std::vector<std::string> station;
};

// The telephone call as the module reports it: free-text lines spread over the call's
// length. Time comes in as a parameter; nothing here waits. Lines are status lines
// (shown while bit 5 of register AB is set), debug lines (bit 6) or result lines
// (always), decided when each line falls due.
class CallModel {
 public:
  enum class State {
    Idle,     // on hook
    Busy,     // dialling or sending: G and B are refused
    Held,     // a message was delivered with bit 1 of AC set: the line waits for B or A
  };
  static constexpr std::uint8_t kStatusBit = 0x20;
  static constexpr std::uint8_t kDebugBit = 0x40;
  static constexpr std::uint8_t kHoldLineBit = 0x02;
  static constexpr int kHangUpDelayMs = 500;
  static constexpr int kSplitGapMs = 300;
  static constexpr int kFloodLines = 160;
  // No line the module sends is longer: the PC's display breaks lines after 25.
  static constexpr std::size_t kMaxLineChars = 24;

  explicit CallModel(const ModuleOptions& options) : options_(options) {}

  // G: a call with a number takes the next outcome of ModuleOptions::outcomes.
  void dial(const CallSetup& setup, std::int64_t nowMs);
  void sendNext(const CallSetup& setup, std::int64_t nowMs);  // B
  void hangUp(std::int64_t nowMs);                            // A
  // Drops the call without a word (factory defaults). The rest of a line already half
  // on the wire still goes out.
  void drop();
  // The serial line is gone: the call and every line not yet sent go with it, the rest
  // of a half-sent line too, so a new connection never starts inside a line.
  void disconnect();
  // A line of the module's own outside any call (e.g. "DEFAULTS RESTORED"), sent at
  // nowMs, or after the rest of a line that is half on the wire.
  void say(std::int64_t nowMs, std::string text);

  // Appends the text of every line due by nowMs, filtered by the AB bits given, and
  // what the station understood of each message it has heard to station (when given),
  // one line each. The station's lines never go down the serial line.
  void advance(std::int64_t nowMs, std::uint8_t options, std::string& out,
               std::vector<std::string>* station = nullptr);
  std::optional<std::int64_t> nextEventMs() const;
  State state() const { return state_; }
  // Whether a call has dialled since the last ask whose outcome is Outcome::Unplug.
  bool takeUnplugRequest();

 private:
  // Own: a line of the module's outside any call, always shown and never forgotten
  // with the call's lines.
  enum class Level { Result, Status, Debug, Station, Own };
  enum class Effect { None, Delivered, Failed, OnHook };
  struct Line {
    std::int64_t atMs;
    Level level;
    std::string text;
    Effect effect = Effect::None;
    bool tail = false;  // the second piece of a split line
  };

  void at(std::int64_t atMs, Level level, std::string text, Effect effect = Effect::None,
          bool tail = false);
  // Forgets the call's lines still to come; the rest of a line already half sent and
  // the module's own lines still go out.
  void clearLines();
  // Moves every other line due before the pending tail to just after it.
  void holdBackForTail();
  void result(std::int64_t atMs, std::string text, Effect effect);
  void scheduleMessage(const CallSetup& setup, std::int64_t startMs, int lengthMs);
  void apply(Effect effect, std::int64_t atMs);
  std::int64_t part(int percent, int lengthMs) const;

  ModuleOptions options_;
  State state_ = State::Idle;
  std::deque<Line> lines_;
  bool holdLine_ = false;
  // The first piece of a split line has gone out and its tail has not: nothing else
  // may reach the line before the tail, or two lines would run into one.
  bool lineOpen_ = false;
  int holdMs_ = 0;
  std::size_t calls_ = 0;              // calls dialled, for the next outcome
  Outcome outcome_ = Outcome::Deliver;  // the call under way, and its B messages
  bool unplugAsked_ = false;
};

}  // namespace zmsim
