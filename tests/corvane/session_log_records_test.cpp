#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/session_records.h"

namespace {

using Tone = SessionRecords::Tone;

SessionRecord at(std::int64_t ms, const char* kind, std::string text, const char* remark = "") {
  const std::string second = std::to_string(10 + ms / 1000);
  const std::string milli = std::to_string(1000 + ms % 1000).substr(1);
  return SessionRecord{"2026-12-08T09:47:" + second + "." + milli + "+01:00", ms, kind,
                       std::move(text), remark};
}

std::vector<SessionRecord> oneAlarm() {
  return {at(0, "action", "transmit Contact-ID"),
          at(0, "alarm", "message 1: Contact-ID 1234: new event 130 Burglary"),
          at(5, "tx", "W3D01\r"),
          at(9, "unsent", "G", "  # device gone"),
          at(900, "rx", "MESSAGE SUCCESS\r\n"),
          at(990, "outcome", "message 1 delivered after 900 ms")};
}

// What the operator reads: one line a record with its time of day to the millisecond,
// the sides told apart by arrow and tone, the explanation and the ending marked.
TEST(SessionRecords, EachRecordIsOneMarkedLineWithItsWallClockTime) {
  SessionRecords records;
  records.add(oneAlarm());
  const std::vector<SessionRecords::Line> lines = records.lines({});
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].text, "09:47:10.000  \u00B7 action transmit Contact-ID");
  EXPECT_EQ(lines[1].text, "09:47:10.000  \u2261 message 1: Contact-ID 1234: new event 130 Burglary");
  EXPECT_EQ(lines[2].text, "09:47:10.005  \u2192 W3D01<CR>");
  EXPECT_EQ(lines[3].text, "09:47:10.009  \u219B G  # device gone");
  EXPECT_EQ(lines[4].text, "09:47:10.900  \u2190 MESSAGE SUCCESS<CR><LF>");
  EXPECT_EQ(lines[5].text, "09:47:10.990  \u25A0 message 1 delivered after 900 ms");
  std::vector<Tone> tones;
  for (const auto& l : lines) tones.push_back(l.tone);
  EXPECT_EQ(tones, (std::vector<Tone>{Tone::kNote, Tone::kAlarm, Tone::kSent, Tone::kUnsent,
                                      Tone::kReceived, Tone::kOutcome}));

  // Hex shows the wire's bytes only; a search keeps the lines that hold it, in any case.
  const auto hex = records.lines({true, ""});
  EXPECT_EQ(hex[2].text, "09:47:10.005  \u2192 57 33 44 30 31 0D");
  EXPECT_EQ(hex[0].text, lines[0].text);
  const auto found = records.lines({true, "0d 0a"});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].tone, Tone::kReceived);
  EXPECT_EQ(records.lines({false, "delivered"}).size(), 1u);
  EXPECT_TRUE(records.lines({false, "no such"}).empty());
}

// The view keeps the newest records up to its bound and says how many went; saving
// writes the log's own lines, which read back.
TEST(SessionRecords, KeepsTheNewestUpToItsBoundAndSavesTheLogsLines) {
  SessionRecords records(4);
  records.add(oneAlarm());
  EXPECT_EQ(records.size(), 4u);
  EXPECT_EQ(records.dropped(), 2u);
  EXPECT_EQ(records.record(0).kind, "tx");
  EXPECT_EQ(records.logText(),
            "2026-12-08T09:47:10.005+01:00        5 ms  tx W3D01<CR>\n"
            "2026-12-08T09:47:10.009+01:00        9 ms  unsent G  # device gone\n"
            "2026-12-08T09:47:10.900+01:00      900 ms  rx MESSAGE SUCCESS<CR><LF>\n"
            "2026-12-08T09:47:10.990+01:00      990 ms  outcome message 1 delivered after 900 ms\n");
  records.clear();
  EXPECT_EQ(records.size(), 0u);
  EXPECT_EQ(records.dropped(), 0u);
  EXPECT_TRUE(records.lines({}).empty());
}

}  // namespace
