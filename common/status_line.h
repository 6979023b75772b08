#pragma once

#include <string>

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
