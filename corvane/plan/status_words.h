#pragma once

#include <string>
#include <vector>

#include "common/status_line.h"

// The status line's messages since they were last taken: the words the plan runner
// gives a port that was lost or could not be used.
class StatusWords : public StatusLine {
 public:
  void show(const std::string& message) override { pending_.push_back(message); }
  std::string take() {
    std::string words;
    for (const std::string& m : pending_) words += (words.empty() ? "" : "; ") + m;
    pending_.clear();
    return words.empty() ? std::string("the status line said nothing") : words;
  }

 private:
  std::vector<std::string> pending_;
};
