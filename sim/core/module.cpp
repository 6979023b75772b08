#include "sim/core/module.h"

#include <algorithm>
#include <utility>

#include "sim/core/station_report.h"

namespace zmsim {

namespace {

constexpr std::size_t kMessageChars = 15;
constexpr std::size_t kPulseChars = 6;

// Text from the PC as a line shows it: control bytes as dots, so none breaks the line.
std::string shownText(std::string_view text) {
  std::string shown;
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    shown += (u >= 0x20 && u < 0x7F) ? c : '.';
  }
  return shown;
}

// A message as a status line shows it: up to the first zero byte (the PC pads short
// messages with zero bytes), at most maxChars.
std::string printable(std::string_view text, std::size_t maxChars) {
  return shownText(text.substr(0, std::min(text.find('\0'), maxChars)));
}

}  // namespace

Module::Module(const ModuleOptions& options)
    : call_(options), frameTimeoutMs_(options.frameTimeoutMs) {}

void Module::receive(std::string_view bytes, std::int64_t nowMs) {
  for (char byte : bytes) receiveByte(byte, nowMs);
}

void Module::receiveByte(char byte, std::int64_t nowMs) {
  if (ackPending_) {
    if (byte == '\r') output_ += *ackPending_;
    ackPending_.reset();
  }
  lastByteMs_ = nowMs;
  frames_.clear();
  parser_.feed(byte, frames_);
  if (!parser_.midQuery()) queryAnswered_ = false;
  for (const Frame& frame : frames_) {
    if (frameSink_) frameSink_(frame, nowMs);
    act(frame, nowMs);
  }
}

void Module::act(const Frame& frame, std::int64_t nowMs) {
  switch (frame.kind) {
    case FrameKind::Read:
      output_ += hexPair(registers_.working(static_cast<std::uint8_t>(hexPairValue(frame.reg()))));
      break;
    case FrameKind::Query:
      output_ += hexPair(registers_.stored(static_cast<std::uint8_t>(hexPairValue(frame.reg()))));
      break;
    case FrameKind::Write: {
      int value = hexPairValue(frame.value());
      if (value >= 0) {
        registers_.write(static_cast<std::uint8_t>(hexPairValue(frame.reg())),
                         static_cast<std::uint8_t>(value));
      }
      break;
    }
    case FrameKind::StoreWrite: storeWrite(frame); break;
    case FrameKind::MemoryWrite: {
      int value = hexPairValue(frame.value());
      if (value >= 0) {
        registers_.writeMemory(static_cast<std::uint8_t>(hexPairValue(frame.reg())),
                               static_cast<std::uint8_t>(value));
      }
      break;
    }
    case FrameKind::Message: registers_.setMessage(std::string(frame.text())); break;
    case FrameKind::Number: registers_.setNumber(std::string(frame.text())); break;
    case FrameKind::Go: call_.dial(setup(), nowMs); break;
    case FrameKind::Next: call_.sendNext(setup(), nowMs); break;
    case FrameKind::Abort: call_.hangUp(nowMs); break;
    case FrameKind::Reset:
      if (registers_.resetArmed()) {
        call_.drop();
        registers_.restoreFactoryDefaults();
        // Through the call's lines, so it never lands inside a result line half sent.
        call_.say(nowMs, "DEFAULTS RESTORED");
        call_.advance(nowMs, registers_.working(RegisterMap::kOptions), output_, &station_);
      }
      break;
    case FrameKind::LoneCr:
    case FrameKind::Unknown:
    case FrameKind::Incomplete: break;
  }
}

void Module::storeWrite(const Frame& frame) {
  int value = hexPairValue(frame.value());
  std::string ack = "??";
  if (value >= 0) {
    auto reg = static_cast<std::uint8_t>(hexPairValue(frame.reg()));
    registers_.store(reg, static_cast<std::uint8_t>(value));
    ack = hexPair(registers_.stored(reg));
  }
  output_ += ack[0];
  ackPending_ = ack[1];
}

CallSetup Module::setup() const {
  CallSetup s;
  // Dialled as stored, shown with control bytes as dots: a line feed or CR from the PC
  // would break the DIALING line in two.
  s.number = registers_.number();
  s.shownNumber = shownText(s.number);
  s.format = registers_.working(RegisterMap::kFormat);
  if (s.format == RegisterMap::kFormatF1) {
    s.message = printable(registers_.memoryMessage(), RegisterMap::kMemoryBytes);
  } else {
    s.message = printable(registers_.message(),
                          s.format == RegisterMap::kFormatPulse ? kPulseChars : kMessageChars);
  }
  s.options = registers_.working(RegisterMap::kOptions);
  s.control = registers_.working(RegisterMap::kControl);
  s.tone = registers_.working(RegisterMap::kTone);
  s.dialerTimeout = registers_.working(RegisterMap::kDialerTimeout);
  s.kissoffTime = registers_.working(RegisterMap::kKissoffTime);
  s.station = stationReport(registers_);
  return s;
}

void Module::advance(std::int64_t nowMs) {
  if (stalledQueryDue() && nowMs - lastByteMs_ >= frameTimeoutMs_) {
    output_ += "?\r";
    queryAnswered_ = true;
  }
  call_.advance(nowMs, registers_.working(RegisterMap::kOptions), output_, &station_);
}

bool Module::stalledQueryDue() const {
  return frameTimeoutMs_ >= 0 && parser_.midQuery() && !queryAnswered_;
}

std::string Module::takeOutput() { return std::exchange(output_, std::string()); }

void Module::disconnect() {
  parser_.abandon();
  call_.disconnect();
  output_.clear();
  ackPending_.reset();
  queryAnswered_ = false;
}

std::vector<std::string> Module::takeStationReport() {
  return std::exchange(station_, std::vector<std::string>());
}

std::optional<std::int64_t> Module::nextEventMs() const {
  std::optional<std::int64_t> next = call_.nextEventMs();
  if (stalledQueryDue()) {
    std::int64_t gapEnd = lastByteMs_ + frameTimeoutMs_;
    next = next ? std::min(*next, gapEnd) : gapEnd;
  }
  return next;
}

}  // namespace zmsim
