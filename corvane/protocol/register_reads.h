#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "common/status_line.h"
#include "corvane/module_link.h"

// The start-up's register queries (Q82, Q83, QAC, QAB, RB1), kept in step with the
// module's replies. The module answers each query with two hex digits; on a loaded
// machine a reply can come after its query's polling window has closed, and it then
// waits in the driver, where the next query would read it as its own. These reads
// send exactly the bytes and make exactly the pauses of queryRegister, and add only
// reads of what is already waiting:
// - whatever waits before a query is sent cannot be its reply (the module has not
//   been asked yet): it is read and dropped;
// - while reply characters are still owed by earlier queries (their replies came
//   short or not at all), the first characters that come are taken to be those: a
//   query that reads any of them gets no reply of its own.
// So a late reply is never taken as another register's value; the register whose reply
// could not be trusted keeps its start values, which is what a missing reply gives.
class RegisterReads {
 public:
  // Both must outlive the reads.
  RegisterReads(ModuleLink& link, StatusLine& status) : link_(link), status_(status) {}

  // Sends the three-character query and returns its two reply characters, or an empty
  // text when no whole reply of its own came in its window. Two characters that are
  // not hex digits are returned as they came.
  std::string query(std::string_view frame);

  // Says on the status line, in one message, each read whose reply was missing, late,
  // not taken or not two hex digits, with what came. Says nothing when all were
  // answered, or when the port is not open (its open failure has been said).
  void report();

 private:
  struct Owed {
    std::string frame;
    std::size_t chars;
  };

  void dropWaitingInput(std::string_view beforeFrame);
  // Counts n received characters against the replies owed, oldest first; returns the
  // frame whose reply they began with (empty when none was owed).
  std::string settleOwed(std::size_t n);
  void note(std::string_view frame, const std::string& what);

  ModuleLink& link_;
  StatusLine& status_;
  std::deque<Owed> owed_;
  std::vector<std::string> notes_;
};

// Received bytes as the status line shows them: printable characters as they are,
// CR, LF and other control bytes as \r, \n, \xNN.
std::string printableBytes(std::string_view bytes);
