#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "corvane/session_record.h"

// The session as the session view shows it: the records the session log wrote (the
// log's reader, corvane/session_log.h), kept in order up to a bound, and turned into
// one line each. Sent and received bytes are told apart by an arrow and a tone (the
// view gives each tone its colour); the bytes show escaped as in the log, or as hex.
// The records are kept raw, so the hex view and a search apply to the whole session.
class SessionRecords {
 public:
  // About as many as the log's 1 MiB file and its previous one hold.
  static constexpr std::size_t kKeptRecords = 20000;

  enum class Tone { kSent, kReceived, kUnsent, kAlarm, kOutcome, kNote };
  struct Line {
    std::string text;
    Tone tone = Tone::kNote;
  };
  struct Options {
    bool hex = false;    // the bytes on the wire as hex pairs
    std::string search;  // only lines holding it, case-insensitive; empty for all
  };

  explicit SessionRecords(std::size_t kept = kKeptRecords) : kept_(kept) {}

  // Keeps records, dropping the oldest past the bound.
  void add(const std::vector<SessionRecord>& records);
  void clear();
  std::size_t size() const { return records_.size(); }
  // How many of the oldest were dropped for the bound (since the last clear).
  std::size_t dropped() const { return dropped_; }
  const SessionRecord& record(std::size_t i) const { return records_[i]; }

  // The record's line, its mark in UTF-8: "09:47:00.118  → W3D01<CR>" (sent),
  // "09:47:09.606  ← MESSAGE SUCCESS<CR><LF>" (received), "↛" for bytes not sent,
  // "≡ message 1: Contact-ID ..." (what an alarm means), "■ message 1 delivered after
  // 9488 ms" (how it ended), "· action transmit Contact-ID" (the other notes).
  static Line lineOf(const SessionRecord& record, bool hex);
  // Whether line passes the search.
  static bool matches(const Line& line, std::string_view search);
  // The kept records' lines that pass the options, oldest first.
  std::vector<Line> lines(const Options& options) const;
  // The kept records in the session log's own form, one line each, for saving.
  std::string logText() const;

 private:
  std::size_t kept_;
  std::size_t dropped_ = 0;
  std::deque<SessionRecord> records_;
};
