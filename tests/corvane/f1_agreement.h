#pragma once

// Whether what Corvane says of an SIA FSK F1 message (its explanation) is what it
// sends: the K frames on the wire against the pair count, the text and the frame list
// of the explanation. Shared by the property test and the fuzz target.
#include <string>
#include <vector>

#include "common/alarm_message.h"
#include "corvane/module_link.h"

namespace f1_agreement {

// The K frames among the writes of one transmission: each is the write "K", then its
// address and its pair, one write each (the number's characters are single writes
// too, so a K in the number would count: keep it out of the number).
inline std::vector<std::string> kFramesIn(const std::vector<std::string>& writes) {
  std::vector<std::string> frames;
  for (std::size_t i = 0; i + 2 < writes.size(); ++i) {
    if (writes[i] != "K") continue;
    frames.push_back(writes[i] + writes[i + 1] + writes[i + 2]);
    i += 2;
  }
  return frames;
}

// Empty when they agree; otherwise what differs.
inline std::string disagreement(const AlarmExplanation& e, const std::vector<std::string>& frames) {
  std::string text;
  std::string listed;
  for (const std::string& frame : frames) {
    text += static_cast<char>(hexPairToByte(frame[3], frame[4]) & 0xFF);
    listed += (listed.empty() ? "" : " ") + alarm_message::shown(frame);
  }
  const std::size_t n = frames.size();
  const std::string summary = "SIA FSK F1 \"" + alarm_message::shown(text) + "\" (" +
                              std::to_string(n) + (n == 1 ? " pair)" : " pairs)");
  if (e.summary.rfind(summary, 0) != 0) return "summary \"" + e.summary + "\", sent " + summary;
  const std::string line = std::to_string(n) + (n == 1 ? " K frame" : " K frames") +
                           (listed.empty() ? "" : ": " + listed) + "\n";
  if (e.detail.find(line) == std::string::npos) return "detail \"" + e.detail + "\", sent " + line;
  return {};
}

}  // namespace f1_agreement
