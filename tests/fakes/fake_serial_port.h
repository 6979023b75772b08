#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/serial_port.h"
#include "fakes/virtual_clock.h"

// A bench of fake serial devices by name ("COM3:"), shared by any number of
// FakeSerialPort objects. It records every open, close, write and purge with the
// virtual time at which it happened, and plays replies:
// - queued bytes (replyWith) that the next reads return, and
// - a responder per device that sees each write (and the baud rate the port was
//   opened at) and may queue an answer, like a module would.
// A device can be opened by one port at a time, as a real tty opened exclusively.
class FakeSerialBench {
 public:
  struct Event {
    enum Kind { kOpen, kOpenFailed, kClose, kWrite, kPurge, kRead };
    Kind kind;
    std::string device;
    std::string bytes;  // written or read bytes
    int baud = 0;
    std::int64_t atMs = 0;
  };
  using Responder = std::function<std::string(std::string_view written, int baud)>;

  explicit FakeSerialBench(VirtualClock& clock) : clock_(clock) {}

  // Makes a device that can be opened; responder may be empty (a port with nothing on it).
  void addDevice(const std::string& name, Responder responder = {}) {
    devices_[name].responder = std::move(responder);
  }
  // Queues bytes that the device's next reads return.
  void replyWith(const std::string& name, std::string_view bytes) {
    auto& in = devices_[name].input;
    in.insert(in.end(), bytes.begin(), bytes.end());
  }
  bool hasDevice(const std::string& name) const { return devices_.count(name) != 0; }
  bool isHeld(const std::string& name) const {
    auto it = devices_.find(name);
    return it != devices_.end() && it->second.held;
  }
  std::size_t pendingInput(const std::string& name) const {
    auto it = devices_.find(name);
    return it == devices_.end() ? 0 : it->second.input.size();
  }

  const std::vector<Event>& events() const { return events_; }
  void clearEvents() { events_.clear(); }
  // All bytes written to a device, concatenated.
  std::string written(const std::string& name) const {
    std::string all;
    for (const Event& e : events_)
      if (e.kind == Event::kWrite && e.device == name) all += e.bytes;
    return all;
  }
  // Each write to any device, in order (the pieces, not the concatenation).
  std::vector<std::string> writes() const {
    std::vector<std::string> out;
    for (const Event& e : events_)
      if (e.kind == Event::kWrite) out.push_back(e.bytes);
    return out;
  }

  // Used by FakeSerialPort.
  bool acquire(const std::string& name, int baud) {
    auto it = devices_.find(name);
    if (it == devices_.end() || it->second.held) {
      record(Event::kOpenFailed, name, {}, baud);
      return false;
    }
    it->second.held = true;
    record(Event::kOpen, name, {}, baud);
    return true;
  }
  void release(const std::string& name) {
    devices_[name].held = false;
    record(Event::kClose, name, {}, 0);
  }
  void write(const std::string& name, std::string_view bytes, int baud) {
    record(Event::kWrite, name, std::string(bytes), baud);
    Device& d = devices_[name];
    if (d.responder) {
      std::string answer = d.responder(bytes, baud);
      d.input.insert(d.input.end(), answer.begin(), answer.end());
    }
  }
  std::string read(const std::string& name, std::size_t maxBytes) {
    Device& d = devices_[name];
    std::size_t n = std::min(maxBytes, d.input.size());
    std::string out(d.input.begin(), d.input.begin() + static_cast<std::ptrdiff_t>(n));
    d.input.erase(d.input.begin(), d.input.begin() + static_cast<std::ptrdiff_t>(n));
    if (n > 0) record(Event::kRead, name, out, 0);
    return out;
  }
  void purge(const std::string& name) {
    devices_[name].input.clear();
    record(Event::kPurge, name, {}, 0);
  }

 private:
  struct Device {
    Responder responder;
    std::deque<char> input;
    bool held = false;
  };
  void record(Event::Kind kind, const std::string& name, std::string bytes, int baud) {
    events_.push_back(Event{kind, name, std::move(bytes), baud, clock_.nowMs()});
  }

  VirtualClock& clock_;
  std::map<std::string, Device> devices_;
  std::vector<Event> events_;
};

// One port handle on the bench. Names are used as they are ("COM3:"); a name with
// no device on the bench does not open.
class FakeSerialPort : public SerialPort {
 public:
  explicit FakeSerialPort(FakeSerialBench& bench) : bench_(bench) {}
  ~FakeSerialPort() override { close(); }

  bool open(const std::string& name, int baud) override {
    close();
    if (!bench_.acquire(name, baud)) return false;
    name_ = name;
    baud_ = baud;
    return true;
  }
  void close() override {
    if (name_.empty()) return;
    bench_.release(name_);
    name_.clear();
    baud_ = 0;
  }
  bool isOpen() const override { return !name_.empty(); }
  void write(std::string_view bytes) override {
    if (isOpen()) bench_.write(name_, bytes, baud_);
  }
  std::string readAvailable(std::size_t maxBytes) override {
    return isOpen() ? bench_.read(name_, maxBytes) : std::string();
  }
  void purgeInput() override {
    if (isOpen()) bench_.purge(name_);
  }

  const std::string& openName() const { return name_; }
  int baud() const { return baud_; }

 private:
  FakeSerialBench& bench_;
  std::string name_;
  int baud_ = 0;
};
