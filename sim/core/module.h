#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/call_model.h"
#include "sim/core/frame_parser.h"
#include "sim/core/module_options.h"
#include "sim/core/register_map.h"

namespace zmsim {

// The module as the PC sees it over the serial line, free of any I/O: bytes in with
// the time they came, bytes out when asked, time moved on by advance(). The caller
// owns the clock; nothing here waits.
//
// - Frames take their bytes at any pace: one typed a key at a time in terminal mode is
//   answered like one sent at once.
// - R and Q frames are answered at once with two upper-case hex digits. With
//   ModuleOptions::frameTimeoutMs set, a query left incomplete that long is answered
//   "?" CR once and stays open (a slow typist can still finish it).
// - M frames are acknowledged with the two hex digits of the value now stored, one at
//   a time: the second only after the PC has answered the first with CR. Any other
//   byte drops the second digit.
// - W, M and K frames whose value is not two hex digits change nothing.
// - G and B start the call model; A hangs up; X restores the factory defaults when
//   register 87 holds 55.
class Module {
 public:
  using FrameSink = std::function<void(const Frame&, std::int64_t nowMs)>;

  explicit Module(const ModuleOptions& options = {});

  // Called with every frame as it is recognised, before the module acts on it.
  void setFrameSink(FrameSink sink) { frameSink_ = std::move(sink); }

  void receive(std::string_view bytes, std::int64_t nowMs);
  // Runs whatever fell due by nowMs: the answer to a stalled query, call lines.
  void advance(std::int64_t nowMs);
  // The bytes the module has sent since the last call.
  std::string takeOutput();
  // What the receiving station understood of the messages it heard since the last
  // call, one line each (station_report.h); nothing of it goes down the serial line.
  std::vector<std::string> takeStationReport();
  // When advance() next has something to do.
  std::optional<std::int64_t> nextEventMs() const;

  // The serial line is gone (the module unplugged): what was half received or not yet
  // sent is dropped, and so is the call; registers, memory, number and message stay.
  void disconnect();

  // Whether a call whose outcome is Outcome::Unplug has dialled since the last ask:
  // the runner then pulls the plug.
  bool takeUnplugRequest() { return call_.takeUnplugRequest(); }

  const RegisterMap& registers() const { return registers_; }
  CallModel::State callState() const { return call_.state(); }

 private:
  void receiveByte(char byte, std::int64_t nowMs);
  void act(const Frame& frame, std::int64_t nowMs);
  void storeWrite(const Frame& frame);
  CallSetup setup() const;
  // A query is unfinished, not yet answered "?", and the frame time-out is on.
  bool stalledQueryDue() const;

  RegisterMap registers_;
  CallModel call_;
  FrameParser parser_;
  FrameSink frameSink_;
  std::vector<Frame> frames_;
  std::string output_;
  std::vector<std::string> station_;
  std::optional<char> ackPending_;
  std::int64_t lastByteMs_ = 0;
  bool queryAnswered_ = false;
  int frameTimeoutMs_ = -1;
};

}  // namespace zmsim
