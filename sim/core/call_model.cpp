#include "sim/core/call_model.h"

#include <algorithm>
#include <utility>

#include "sim/core/frame.h"
#include "sim/core/register_map.h"

namespace zmsim {

namespace {

constexpr int kSecondsPerCount = 2;

std::string line(std::string text) { return text + "\r\n"; }

std::string formatName(std::uint8_t format) {
  switch (format) {
    case 0x00: return "CONTACT-ID";
    case 0x01: return "SIA FSK F1";
    case 0x02: return "PULSE 4X2";
    case 0x08: return "SIA FSK F2";
    default: return "FORMAT " + hexPair(format);
  }
}

// Lines stay within 24 characters: the PC's display breaks lines after 25.
std::string handshake(const CallSetup& setup) {
  std::string sia = (setup.options & RegisterMap::kOptionsSia110Bit) ? "SIA 110 BAUD" : "SIA 300 BAUD";
  switch (setup.format) {
    case 0x01: return line("HANDSHAKE " + sia);
    case 0x02: return line("HANDSHAKE 1400 HZ");
    case 0x08: {
      const bool tone1400 = (setup.tone & RegisterMap::kTone1400Bit) != 0;
      return line(std::string("HANDSHAKE ") + (tone1400 ? "1400 HZ" : "2300 HZ")) + line(sia);
    }
    default: return line("HANDSHAKE 1400+2300 HZ");
  }
}

std::string seconds(std::uint8_t counts) {
  return std::to_string(counts * kSecondsPerCount) + " S";
}

}  // namespace

std::int64_t CallModel::part(int percent, int lengthMs) const {
  return static_cast<std::int64_t>(lengthMs) * percent / 100;
}

void CallModel::at(std::int64_t atMs, Level level, std::string text, Effect effect, bool tail) {
  // The open line's tail is the first tail waiting: later ones belong to lines whose
  // first piece has not gone out yet.
  if (lineOpen_) {
    auto open = std::find_if(lines_.begin(), lines_.end(), [](const Line& l) { return l.tail; });
    if (open != lines_.end()) atMs = std::max(atMs, open->atMs);
  }
  Line entry{atMs, level, std::move(text), effect, tail};
  auto place = std::upper_bound(lines_.begin(), lines_.end(), atMs,
                                [](std::int64_t t, const Line& l) { return t < l.atMs; });
  lines_.insert(place, std::move(entry));
}

// The result line carries the call's fault options: a zero byte ahead of it, or a
// split into two pieces that reach the PC in different polls.
void CallModel::result(std::int64_t atMs, std::string text, Effect effect) {
  std::string whole = line(std::move(text));
  if (options_.faults.nulBeforeReport) whole.insert(whole.begin(), '\0');
  if (options_.faults.splitReport) {
    std::size_t half = whole.size() / 2;
    at(atMs, Level::Result, whole.substr(0, half));
    at(atMs + kSplitGapMs, Level::Result, whole.substr(half), effect, true);
    return;
  }
  at(atMs, Level::Result, std::move(whole), effect);
}

void CallModel::scheduleMessage(const CallSetup& setup, std::int64_t startMs, int lengthMs) {
  at(startMs, Level::Status, line("SENDING " + formatName(setup.format)) + line("MSG " + setup.message));
  std::string wait = setup.format == 0x00 ? "KISSOFF WAIT " + seconds(setup.kissoffTime)
                                          : std::string("KISSOFF WAIT");
  at(startMs + part(15, lengthMs), Level::Debug, line(wait));
  // By the kiss-off wait the station has heard the whole message.
  for (const std::string& understood : setup.station) {
    at(startMs + part(15, lengthMs), Level::Station, understood);
  }
  std::int64_t endMs = startMs + part(35, lengthMs);
  if (outcome_ == Outcome::Deliver) {
    result(endMs, "MESSAGE SUCCESS", Effect::Delivered);
  } else {
    result(endMs, "FAILED: NO KISSOFF", Effect::Failed);
  }
}

void CallModel::dial(const CallSetup& setup, std::int64_t nowMs) {
  if (state_ == State::Busy) {
    at(nowMs, Level::Debug, line("BUSY, G IGNORED"));
    return;
  }
  clearLines();
  holdLine_ = (setup.control & kHoldLineBit) != 0;
  holdMs_ = std::max<int>(setup.dialerTimeout, 1) * kSecondsPerCount * 1000;
  if (setup.number.empty()) {
    result(nowMs, "FAILED: NO NUMBER", Effect::None);
    state_ = State::Idle;
    return;
  }
  state_ = State::Busy;
  outcome_ = options_.outcomeOfCall(calls_++);
  int length = options_.callLengthMs;
  if (options_.faults.flood) {
    std::string burst;
    for (int i = 0; i < kFloodLines; ++i) {
      burst += line("TRACE " + std::to_string(1000 + i) + " DTMF 0123456");
    }
    at(nowMs, Level::Result, std::move(burst));
  }
  at(nowMs, Level::Status, line("DIALING " + setup.shownNumber));
  at(nowMs + part(5, length), Level::Debug,
     line("OFF HOOK") + line((setup.options & RegisterMap::kOptionsAudioOffBit) ? "AUDIO OFF" : "AUDIO ON") +
         line((setup.control & RegisterMap::kControlFullLevelBit) ? "LEVEL 0 DB" : "LEVEL -6 DB"));
  at(nowMs + part(15, length), Level::Debug, line("DIAL TONE OK"));
  at(nowMs + part(25, length), Level::Debug,
     line("DIALER TIMEOUT " + seconds(setup.dialerTimeout)));
  at(nowMs + part(40, length), Level::Status, line("RINGING"));
  if (outcome_ == Outcome::NoAnswer) {
    result(nowMs + length, "FAILED: NO ANSWER", Effect::Failed);
    return;
  }
  if (outcome_ == Outcome::Unplug) {
    // No result: the line rings on until the module is gone.
    unplugAsked_ = true;
    return;
  }
  at(nowMs + part(55, length), Level::Status, handshake(setup));
  scheduleMessage(setup, nowMs + part(65, length), length);
}

void CallModel::sendNext(const CallSetup& setup, std::int64_t nowMs) {
  if (state_ == State::Idle) {
    at(nowMs, Level::Result, line("NO CALL IN PROGRESS"));
    return;
  }
  if (state_ == State::Busy) {
    at(nowMs, Level::Debug, line("BUSY, B IGNORED"));
    return;
  }
  clearLines();
  state_ = State::Busy;
  holdLine_ = (setup.control & kHoldLineBit) != 0;
  at(nowMs, Level::Status, line("NEXT MESSAGE"));
  scheduleMessage(setup, nowMs + part(10, options_.callLengthMs), options_.callLengthMs);
}

bool CallModel::takeUnplugRequest() { return std::exchange(unplugAsked_, false); }

void CallModel::hangUp(std::int64_t nowMs) {
  if (state_ == State::Idle && lines_.empty()) return;
  clearLines();
  state_ = State::Idle;
  at(nowMs, Level::Status, line("ON HOOK"));
}

void CallModel::drop() {
  clearLines();
  state_ = State::Idle;
}

void CallModel::disconnect() {
  lines_.clear();
  lineOpen_ = false;
  state_ = State::Idle;
}

void CallModel::say(std::int64_t nowMs, std::string text) {
  at(nowMs, Level::Own, line(std::move(text)));
}

void CallModel::clearLines() {
  auto open = std::find_if(lines_.begin(), lines_.end(), [](const Line& l) { return l.tail; });
  if (!lineOpen_) open = lines_.end();
  std::deque<Line> kept;
  for (auto it = lines_.begin(); it != lines_.end(); ++it) {
    if (it == open) {
      // The rest of the line still goes out, but the call it reported on is over.
      it->effect = Effect::None;
      kept.push_back(std::move(*it));
    } else if (it->level == Level::Own) {
      kept.push_back(std::move(*it));
    }
  }
  lines_ = std::move(kept);
}

void CallModel::holdBackForTail() {
  auto tail = std::find_if(lines_.begin(), lines_.end(), [](const Line& l) { return l.tail; });
  if (tail == lines_.end()) return;
  std::int64_t tailMs = tail->atMs;
  for (Line& l : lines_) l.atMs = std::max(l.atMs, tailMs);
  std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) {
    return a.atMs != b.atMs ? a.atMs < b.atMs : (a.tail && !b.tail);
  });
}

void CallModel::apply(Effect effect, std::int64_t atMs) {
  switch (effect) {
    case Effect::None: break;
    case Effect::Delivered:
      if (holdLine_) {
        state_ = State::Held;
        // Nobody sends B or A: the module gives up after the dialer time-out.
        at(atMs + holdMs_, Level::Status, line("ON HOOK"), Effect::OnHook);
      } else {
        at(atMs + kHangUpDelayMs, Level::Status, line("ON HOOK"), Effect::OnHook);
      }
      break;
    case Effect::Failed:
      at(atMs + kHangUpDelayMs, Level::Status, line("ON HOOK"), Effect::OnHook);
      break;
    case Effect::OnHook: state_ = State::Idle; break;
  }
}

void CallModel::advance(std::int64_t nowMs, std::uint8_t options, std::string& out,
                        std::vector<std::string>* station) {
  while (!lines_.empty() && lines_.front().atMs <= nowMs) {
    Line due = std::move(lines_.front());
    lines_.pop_front();
    bool shown = due.level == Level::Result || due.level == Level::Own ||
                 (due.level == Level::Status && (options & kStatusBit)) ||
                 (due.level == Level::Debug && (options & kDebugBit));
    if (due.level == Level::Station) {
      if (station) station->push_back(std::move(due.text));
      continue;
    }
    if (shown) out += due.text;
    if (due.tail) {
      lineOpen_ = false;
    } else if (!due.text.empty() && due.text.back() != '\n' && due.level == Level::Result) {
      lineOpen_ = true;
      holdBackForTail();
    }
    apply(due.effect, due.atMs);
  }
}

std::optional<std::int64_t> CallModel::nextEventMs() const {
  if (lines_.empty()) return std::nullopt;
  return lines_.front().atMs;
}

}  // namespace zmsim
