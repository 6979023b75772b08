#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include "common/serial_port.h"
#include "fakes/fake_serial_bench.h"

// One port handle on the bench. Names are used as they are ("COM3:"); a name with
// no device on the bench does not open (kNoName).
//
// Like the real port, it learns that its device went away only when it next writes
// or reads: it then closes itself, problem() says kGone, and the bytes of that write
// (kGone) and of every write until it is reopened (kNotOpen) are lost (recorded as
// "lost"). A write the bench's loseWrites switch gives up on returns kStalled.
// reopenIfBack() checks once per call (recorded as "stat") and reopens at the same
// speed when the device is back. An explicit close() forgets the loss.
class FakeSerialPort : public SerialPort {
 public:
  // The bench must outlive the port.
  explicit FakeSerialPort(FakeSerialBench& bench) : bench_(bench) {}
  ~FakeSerialPort() override { close(); }

  bool open(const std::string& name, int baud) override {
    close();
    name_ = name;
    baud_ = baud;
    problem_ = bench_.acquire(name, baud);
    open_ = problem_.kind == PortProblem::Kind::kNone;
    return open_;
  }
  void close() override {
    if (open_) bench_.release(name_);
    open_ = false;
    problem_ = {};
  }
  bool isOpen() const override { return open_; }
  PortWriteResult write(std::string_view bytes) override {
    using Kind = PortProblem::Kind;
    if (!open_) {
      if (problem_.kind == Kind::kGone) bench_.lose(name_, bytes);
      return {0, Kind::kNotOpen};
    }
    if (!bench_.isPresent(name_)) {
      noticeGone();
      bench_.lose(name_, bytes);
      return {0, Kind::kGone};
    }
    if (!bench_.write(name_, bytes, baud_)) return {0, Kind::kStalled};
    return {bytes.size(), Kind::kNone};
  }
  std::string readAvailable(std::size_t maxBytes) override {
    if (!open_) return {};
    if (!bench_.isPresent(name_)) {
      noticeGone();
      return {};
    }
    return bench_.read(name_, maxBytes);
  }
  void purgeInput() override {
    if (open_ && bench_.isPresent(name_)) bench_.purge(name_);
  }

  std::string name() const override { return name_; }
  int baud() const override { return baud_; }
  std::string device() const override { return bench_.pathOf(name_); }
  PortProblem problem() const override { return problem_; }
  bool reopenIfBack() override {
    if (open_ || problem_.kind != PortProblem::Kind::kGone) return false;
    bench_.stat(name_);
    if (!bench_.isPresent(name_)) return false;
    PortProblem again = bench_.acquire(name_, baud_, FakeSerialBench::Event::kReopen);
    if (again.kind != PortProblem::Kind::kNone) return false;  // back, but taken: still lost to us
    open_ = true;
    problem_ = {};
    return true;
  }

  // The name of the open port; empty while closed.
  std::string openName() const { return open_ ? name_ : std::string(); }

 private:
  void noticeGone() {
    bench_.releaseGone(name_);
    open_ = false;
    problem_ = {};
    problem_.kind = PortProblem::Kind::kGone;
    problem_.device = bench_.pathOf(name_);
    problem_.osError = EIO;
  }

  FakeSerialBench& bench_;
  std::string name_;
  int baud_ = 0;
  bool open_ = false;
  PortProblem problem_;
};
