#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How one alarm message ended, as the module told it: delivered (its delivery report
// came), failed (a report line with the module's words, "FAILED: NO ANSWER"), or no
// report (the communication time-out, an abort, or the session moved on). A plain
// value fed with what the module sent; each ending is given once, as a line such as
//
//   message 1 delivered after 9488 ms
//   message 2 failed after 31200 ms: FAILED: NO ANSWER
//   message 1 no report after 50100 ms: error: communication timeout
//
// The time runs from start(): the click for a transmission and a run's first message,
// the message's send for the run's later ones.
class AlarmOutcome {
 public:
  // The module's words of a failure report: from its failure word (or from alsoWanted,
  // a text the caller looks for as well) to the end of the first whole line that holds
  // one. A line not yet ended is not judged, so a report split over two reads counts
  // once its end has come. Empty when there is none.
  static std::string failureLine(std::string_view text, std::string_view alsoWanted = {});

  // Message n (1 to 8) went out at atMs; an ending not yet given for the one before
  // is returned ("no report" with why).
  std::optional<std::string> start(int n, std::int64_t atMs);
  bool watching() const { return message_ > 0; }

  // Bytes the module sent: a failure report completed by them ends the message.
  std::optional<std::string> received(std::string_view bytes, std::int64_t atMs);
  // The dialog acted on the delivery report; the time counts to the read that brought
  // it when that was seen here.
  std::optional<std::string> delivered(std::int64_t atMs);
  // No report will come: the time-out, an abort, the end of the program.
  std::optional<std::string> noReport(std::int64_t atMs, std::string_view why);

 private:
  static constexpr std::size_t kKeptBytes = 4096;
  std::string end(const char* how, std::int64_t atMs, std::string_view words);

  int message_ = 0;  // 0: none watched
  std::int64_t startMs_ = 0;
  std::optional<std::int64_t> reportMs_;
  std::string text_;  // what the module sent since start(), its last kKeptBytes
};
