#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/serial_port.h"
#include "fakes/virtual_clock.h"
#include "fakes/wire_timeline.h"

// A bench of fake serial devices by name ("COM3:"), shared by any number of
// FakeSerialPort objects. It records every open, close, write and purge, with the
// virtual time at which it happened, on the clock's timeline, and plays replies:
// - queued bytes (replyWith) that the next reads return, and
// - a responder per device that sees each write (and the baud rate the port was
//   opened at) and may queue an answer, like a module would.
// A device can be opened by one port at a time, as a real tty opened exclusively.
//
// Fault switches, in the manner of an error-injecting environment: a device whose
// open is refused for a given reason, a device that goes away and comes back, and
// writes that stall or are lost. Each behaves as the real port does (see the
// contract in common/serial_port.h), so code can be tested against its faults.
class FakeSerialBench {
 public:
  using Event = WireTimeline::Entry;
  using Responder = std::function<std::string(std::string_view written, int baud)>;

  // The clock must outlive the bench; its timeline is where the bench records.
  explicit FakeSerialBench(VirtualClock& clock) : clock_(clock) {}

  // Makes a device that can be opened; responder may be empty (a port with nothing on it).
  void addDevice(const std::string& name, Responder responder = {}) {
    devices_[name].responder = std::move(responder);
  }
  // The device node the name resolves to, for device() and problems (the name itself
  // when never set).
  void setDevicePath(const std::string& name, const std::string& path) { devices_[name].path = path; }
  // Queues bytes that the device's next reads return.
  void replyWith(const std::string& name, std::string_view bytes) {
    auto& in = devices_[name].input;
    in.insert(in.end(), bytes.begin(), bytes.end());
  }

  // --- fault switches ------------------------------------------------------------
  // Every later open of the name fails with this problem (its device is filled in)
  // until allowOpen(). A name not on the bench yet is added, with nothing on it.
  void refuseOpen(const std::string& name, PortProblem problem) {
    devices_[name].refusal = std::move(problem);
  }
  void refusePermission(const std::string& name, const std::string& group) {
    PortProblem problem = problemOf(PortProblem::Kind::kPermission, {}, EACCES);
    problem.group = group;
    refuseOpen(name, problem);
  }
  // holderName as the port reads it from the process table; empty when it cannot.
  void refuseBusy(const std::string& name, long holderPid, const std::string& holderName = {}) {
    PortProblem problem = problemOf(PortProblem::Kind::kBusy, {}, EBUSY);
    problem.holderPid = holderPid;
    problem.holderName = holderName;
    refuseOpen(name, problem);
  }
  void refuseNoDevice(const std::string& name) {
    refuseOpen(name, problemOf(PortProblem::Kind::kNoDevice, {}, ENOENT));
  }
  void refuseNotSerial(const std::string& name) {
    refuseOpen(name, problemOf(PortProblem::Kind::kNotSerial, {}, ENOTTY));
  }
  void refuseControllingTerminal(const std::string& name) {
    refuseOpen(name, problemOf(PortProblem::Kind::kControllingTerminal));
  }
  void allowOpen(const std::string& name) { devices_[name].refusal = {}; }

  // The device goes away (a USB adapter pulled): a port open on it notices at its
  // next write or read, closes itself and reports kGone; opens fail with kNoDevice.
  // What was waiting to be read is gone with it.
  void unplug(const std::string& name) {
    Device& d = devices_[name];
    d.present = false;
    d.input.clear();
  }
  // The device is back, with empty buffers; the responder and its state are kept.
  void plugBack(const std::string& name) { devices_[name].present = true; }

  // Each write to the device blocks for ms of virtual time and then arrives.
  void stallWrites(const std::string& name, int ms) { setStall(name, ms, false); }
  // Each write to the device blocks for ms of virtual time and is then given up: the
  // bytes are lost (the peer stopped reading), the port stays open.
  void loseWrites(const std::string& name, int afterMs) { setStall(name, afterMs, true); }
  void unstall(const std::string& name) { setStall(name, 0, false); }

  // --- what happened ---------------------------------------------------------------
  bool hasDevice(const std::string& name) const { return devices_.count(name) != 0; }
  bool isHeld(const std::string& name) const {
    auto it = devices_.find(name);
    return it != devices_.end() && it->second.held;
  }
  bool isPresent(const std::string& name) const {
    auto it = devices_.find(name);
    return it != devices_.end() && it->second.present;
  }
  std::size_t pendingInput(const std::string& name) const {
    auto it = devices_.find(name);
    return it == devices_.end() ? 0 : it->second.input.size();
  }
  std::string pathOf(const std::string& name) const {
    auto it = devices_.find(name);
    if (it == devices_.end()) return {};
    return it->second.path.empty() ? name : it->second.path;
  }

  // The clock's timeline, where the bench records (WireTimeline::format puts it in words).
  const WireTimeline& timeline() const { return clock_.timeline(); }
  // Every port event in words, in order: "open COM1: 9600", "write COM1: R50",
  // "fail COM4:", "gone COM1:", "lost COM1: R80"... (the clock's pauses left out).
  std::vector<std::string> log() const { return timeline().format(WireTimeline::portKinds()); }
  // Every port event on the timeline, in order (the clock's pauses left out).
  std::vector<Event> events() const {
    std::vector<Event> out;
    for (const Event& e : clock_.timeline().entries())
      if (e.kind != Event::kPause) out.push_back(e);
    return out;
  }
  // Forgets the port events; the clock's pauses stay.
  void clearEvents() {
    clock_.timeline().keepOnlyKinds({Event::kPause});
  }
  // All bytes that reached a device, concatenated.
  std::string written(const std::string& name) const {
    std::string all;
    for (const Event& e : clock_.timeline().select({Event::kWrite}))
      if (e.device == name) all += e.bytes;
    return all;
  }
  // Each write that reached any device, in order (the pieces, not the concatenation).
  std::vector<std::string> writes() const {
    return clock_.timeline().format({Event::kWrite}, WireTimeline::Words::kWire);
  }
  // How often a port checked whether the lost device is back.
  int statCount(const std::string& name) const {
    int n = 0;
    for (const Event& e : clock_.timeline().select({Event::kStat})) n += e.device == name;
    return n;
  }

  // --- used by FakeSerialPort ------------------------------------------------------
  // Takes the device for one port; kNone when it opened. `as` is kOpen or kReopen.
  PortProblem acquire(const std::string& name, int baud, Event::Kind as = Event::kOpen) {
    PortProblem problem = whyNotOpen(name);
    if (problem.kind != PortProblem::Kind::kNone) {
      Event failed = event(Event::kOpenFailed, name);
      failed.baud = baud;
      failed.problem = problem.kind;
      record(failed);
      return problem;
    }
    devices_[name].held = true;
    Event opened = event(as, name);
    opened.baud = baud;
    record(opened);
    return {};
  }
  void release(const std::string& name) {
    devices_[name].held = false;
    record(event(Event::kClose, name));
  }
  // The port found its device gone and closed itself.
  void releaseGone(const std::string& name) {
    devices_[name].held = false;
    record(event(Event::kGone, name));
  }
  // Whether the bytes arrived (false: given up by loseWrites).
  bool write(const std::string& name, std::string_view bytes, int baud) {
    Device& d = devices_[name];
    if (d.stallMs > 0) {
      Event stall = event(Event::kStall, name);
      stall.ms = d.stallMs;
      record(stall);
      clock_.advance(d.stallMs);
    }
    if (d.stallLoses) {
      lose(name, bytes);
      return false;
    }
    Event written = event(Event::kWrite, name, bytes);
    written.baud = baud;
    record(written);
    if (d.responder) {
      std::string answer = d.responder(bytes, baud);
      d.input.insert(d.input.end(), answer.begin(), answer.end());
    }
    return true;
  }
  void lose(const std::string& name, std::string_view bytes) {
    record(event(Event::kLost, name, bytes));
  }
  std::string read(const std::string& name, std::size_t maxBytes) {
    Device& d = devices_[name];
    std::size_t n = std::min(maxBytes, d.input.size());
    std::string out(d.input.begin(), d.input.begin() + static_cast<std::ptrdiff_t>(n));
    d.input.erase(d.input.begin(), d.input.begin() + static_cast<std::ptrdiff_t>(n));
    if (n > 0) record(event(Event::kRead, name, out));
    return out;
  }
  void purge(const std::string& name) {
    devices_[name].input.clear();
    record(event(Event::kPurge, name));
  }
  void stat(const std::string& name) { record(event(Event::kStat, name)); }

 private:
  struct Device {
    Responder responder;
    std::deque<char> input;
    std::string path;
    PortProblem refusal;
    bool held = false;
    bool present = true;
    int stallMs = 0;
    bool stallLoses = false;
  };

  static PortProblem problemOf(PortProblem::Kind kind, std::string device = {}, int osError = 0) {
    PortProblem problem;
    problem.kind = kind;
    problem.device = std::move(device);
    problem.osError = osError;
    return problem;
  }
  static Event event(Event::Kind kind, const std::string& device, std::string_view bytes = {}) {
    Event e{};
    e.kind = kind;
    e.device = device;
    e.bytes = std::string(bytes);
    return e;
  }
  PortProblem whyNotOpen(const std::string& name) const {
    auto it = devices_.find(name);
    if (it == devices_.end()) return problemOf(PortProblem::Kind::kNoName);
    const Device& d = it->second;
    if (!d.present) return problemOf(PortProblem::Kind::kNoDevice, pathOf(name), ENOENT);
    if (d.refusal.kind != PortProblem::Kind::kNone) {
      PortProblem refused = d.refusal;
      if (refused.device.empty()) refused.device = pathOf(name);
      return refused;
    }
    // Another port of this bench holds it; no UUCP lock names a holder.
    if (d.held) return problemOf(PortProblem::Kind::kBusy, pathOf(name), EWOULDBLOCK);
    return {};
  }
  void setStall(const std::string& name, int ms, bool loses) {
    Device& d = devices_[name];
    d.stallMs = ms;
    d.stallLoses = loses;
  }
  void record(Event e) {
    e.atMs = clock_.nowMs();
    clock_.timeline().add(std::move(e));
  }

  VirtualClock& clock_;
  std::map<std::string, Device> devices_;
};
