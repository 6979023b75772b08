#pragma once

#include <algorithm>
#include <string>
#include <vector>

// Where a program tells the user, in plain words, what happened that the window's own
// texts do not show: which device a port name opened, why an open failed, a port lost
// and found again, a setting that could not be saved. It never writes into the
// "message received" display or into any file that other programs read.
//
// The view shows the newest message in the status line under the dialog; every message
// also goes to stderr (StderrStatusLine). Tests record them (tests/fakes).
class StatusLine {
 public:
  virtual ~StatusLine() = default;
  virtual void show(const std::string& message) = 0;
};

// A status line that shows nothing; for code that has none to tell.
class SilentStatusLine : public StatusLine {
 public:
  void show(const std::string&) override {}
};

// Passes every message on to each of several lines, in the order they were added: the
// stderr line, the window's own line once it exists, Corvane's session log. Each added
// line must outlive this object or be removed first.
class StatusFanOut : public StatusLine {
 public:
  void add(StatusLine* line) {
    if (line != nullptr) lines_.push_back(line);
  }
  void remove(StatusLine* line) { lines_.erase(std::remove(lines_.begin(), lines_.end(), line), lines_.end()); }
  void show(const std::string& message) override {
    for (StatusLine* line : lines_) line->show(message);
  }

 private:
  std::vector<StatusLine*> lines_;
};
