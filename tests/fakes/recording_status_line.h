#pragma once

#include <string>
#include <vector>

#include "common/status_line.h"

// Keeps every status message in order, for tests that assert what the user was told.
class RecordingStatusLine : public StatusLine {
 public:
  void show(const std::string& message) override { messages.push_back(message); }

  const std::string& last() const {
    static const std::string kNone;
    return messages.empty() ? kNone : messages.back();
  }
  bool saw(const std::string& part) const {
    for (const std::string& m : messages)
      if (m.find(part) != std::string::npos) return true;
    return false;
  }

  std::vector<std::string> messages;
};
