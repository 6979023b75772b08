#include "sim/core/module.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "sim/core/station_report.h"

namespace zmsim {

namespace {

constexpr std::size_t kMessageChars = 15;
constexpr std::size_t kPulseChars = 6;

// The register (or memory address) an R, Q, W, M or K frame names: the parser takes
// only hex digits there.
std::uint8_t registerOf(const Frame& frame) { return static_cast<std::uint8_t>(hexPairValue(frame.reg())); }

// The value a W, M or K frame carries; none when its two characters are not hex digits
// (the PC sends typed characters as they are), and the module then writes nothing.
std::optional<std::uint8_t> valueOf(const Frame& frame) {
  int value = hexPairValue(frame.value());
  if (value < 0) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

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
      output_ += hexPair(registers_.working(registerOf(frame)));
      break;
    case FrameKind::Query:
      output_ += hexPair(registers_.stored(registerOf(frame)));
      break;
    case FrameKind::Write:
      if (std::optional<std::uint8_t> value = valueOf(frame)) registers_.write(registerOf(frame), *value);
      break;
    case FrameKind::StoreWrite: storeWrite(frame); break;
    case FrameKind::MemoryWrite:
      if (std::optional<std::uint8_t> value = valueOf(frame)) registers_.writeMemory(registerOf(frame), *value);
      break;
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
  std::string ack = "??";
  if (std::optional<std::uint8_t> value = valueOf(frame)) {
    registers_.store(registerOf(frame), *value);
    ack = hexPair(registers_.stored(registerOf(frame)));
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
