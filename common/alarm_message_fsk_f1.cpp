// SIA FSK F1: the message holds hex pairs, and the PC loads each into the module's
// message memory with a K frame. fskF1Frames is the one reading of a message: Corvane's
// sender walks its pairs, and the explanation counts and names the same pairs.
#include <algorithm>
#include <string>

#include "common/alarm_message.h"
#include "common/alarm_message_parts.h"

namespace alarm_message {

namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string pairCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " pair" : " pairs"); }

// What follows the last K frame, as a line of the detail, and the problem it makes.
void explainEnd(AlarmExplanation& e, std::string_view sent, std::string_view message,
                const FskF1Frames& frames, AlarmSending sending) {
  const std::size_t pairs = frames.pairs.size();
  const std::size_t unsent = message.size() - std::min(message.size(), frames.endOffset);
  std::string end;
  switch (frames.end) {
    case FskF1Frames::End::Text:
      end = "ends with the text";
      if (pairs == 0) e.problems.push_back("no hex pairs: no K frame is sent");
      break;
    case FskF1Frames::End::LoneDigit:
      end = "ends at the lone last digit " + shown(sent.substr(frames.endOffset));
      e.problems.push_back("an odd number of hex digits: the last digit " +
                           shown(sent.substr(frames.endOffset)) + " is not sent" +
                           (pairs == 0 ? std::string(", so no K frame is sent") : ""));
      break;
    case FskF1Frames::End::LowPair: {
      std::string pair = shown(sent.substr(frames.endOffset, 2));
      end = "ends at pair " + std::to_string(pairs + 1) + " (" + pair + ", below 20 hex)";
      if (pairs == 0) {
        e.problems.push_back("the first pair " + pair + " is below 20 hex: no K frame is sent");
      } else if (unsent > 2) {
        e.problems.push_back("the message " + end + ": the " + characters(unsent - 2) +
                             " after it are not sent");
      }
      break;
    }
    case FskF1Frames::End::MostPairs:
      end = "ends after 14 pairs, the most the module holds";
      e.problems.push_back("SIA FSK F1 takes at most 14 pairs: the " + characters(unsent) +
                           " after the 14th pair are not sent");
      break;
  }
  // A run reads 16 bytes of the file: what lies beyond them is never sent either.
  if (sent.size() < message.size() && frames.end != FskF1Frames::End::LowPair) {
    e.problems.push_back("a run reads the first 16 characters of message " +
                         std::to_string(sending.runMessage) + ", at most 8 pairs: the " +
                         characters(message.size() - sent.size()) + " after them are not sent");
  }
  addDetail(e, "the message " + end);
}

}  // namespace

int fskPairValue(char high, char low) {
  auto digit = [](char c) {
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    int d = static_cast<signed char>(c) - '0';
    return d > 9 ? d - 7 : d;
  };
  return 16 * digit(high) + digit(low);
}

FskF1Frames fskF1Frames(std::string_view message) {
  FskF1Frames frames;
  std::size_t at = 0;
  for (;; at += 2) {
    const std::size_t left = message.size() - at;
    if (left < 2) {
      frames.end = left == 0 ? FskF1Frames::End::Text : FskF1Frames::End::LoneDigit;
      break;
    }
    if (frames.pairs.size() == kFskF1MaxPairs) {
      frames.end = FskF1Frames::End::MostPairs;
      break;
    }
    const int value = fskPairValue(message[at], message[at + 1]);
    if (value < kFskF1EndBelow) {
      frames.end = FskF1Frames::End::LowPair;
      break;
    }
    frames.pairs.push_back({at, value});
  }
  frames.endOffset = at;
  return frames;
}

AlarmExplanation explainFskF1(std::string_view message, AlarmSending sending) {
  AlarmExplanation e;
  // Messages 2 to 8 of a run are the first 16 bytes of their files.
  const std::string_view sent =
      sending.runMessage >= 2 ? message.substr(0, kRunFileBytes) : message;
  const FskF1Frames frames = fskF1Frames(sent);

  std::string text;
  std::string kFrames;
  std::string oddPairs;
  std::string nonAscii;
  for (std::size_t i = 0; i < frames.pairs.size(); ++i) {
    const FskF1Frames::Pair& p = frames.pairs[i];
    std::string_view pair = sent.substr(p.offset, 2);
    if (!isHexDigit(pair[0]) || !isHexDigit(pair[1])) {
      oddPairs += (oddPairs.empty() ? "" : " ") + shown(pair);
    } else if (p.value > 0x7E) {
      nonAscii += (nonAscii.empty() ? "" : " ") + shown(pair);
    }
    text += static_cast<char>(p.value & 0xFF);
    static const char kHex[] = "0123456789ABCDEF";
    kFrames += std::string(kFrames.empty() ? "" : " ") + "KD" + kHex[i & 0x0F] + shown(pair);
  }

  addDetail(e, "SIA FSK F1: one K frame per hex pair, addresses D0 to DD; a to f count as A to F");
  addSendingDetail(e, sending);
  addDetail(e, "text \"" + shown(text) + "\", " + std::to_string(frames.pairs.size()) +
                   (frames.pairs.size() == 1 ? " K frame" : " K frames") +
                   (kFrames.empty() ? "" : ": " + kFrames));
  explainEnd(e, sent, message, frames, sending);
  if (!oddPairs.empty()) {
    e.problems.push_back("not two hex digits, sent as typed: " + oddPairs);
  }
  if (!nonAscii.empty()) e.problems.push_back("pairs above 7E are no ASCII characters: " + nonAscii);

  e.summary = "SIA FSK F1 \"" + shown(text) + "\" (" + pairCount(frames.pairs.size()) + ")";
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

}  // namespace alarm_message
