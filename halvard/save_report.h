#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/status_line.h"
#include "common/write_result.h"

// What the operator is told about the settings files that could not be written: each
// file once per reason (a file failing again for the same reason at every tick says
// nothing new), and once more when it is finally written. The outcomes of one pass are
// gathered and told together at its end, one line per reason:
//   "./programEmail/subject.txt, ./programEmail/sender.txt not saved: the folder
//    ./programEmail is missing: create it to save"
//   "saved now: ./programEmail/subject.txt"
class SaveReport {
 public:
  // file is the path relative to workDir, as the operator knows it ("./commport").
  void written(const std::string& file);
  void failed(const std::string& file, const WriteResult& result);
  // Tells what the outcomes since the last call changed, then forgets them.
  void tell(StatusLine& status);

  // The reason in the operator's words: a missing folder is named as the operator
  // knows it, with what to do about it. Every write of Halvard creates a missing file,
  // so a path that is not found is a folder missing on its way.
  static std::string reasonFor(const std::string& file, const WriteResult& result);

 private:
  std::map<std::string, std::string> reported_;  // file -> the reason told
  std::vector<std::pair<std::string, std::string>> newFailures_;  // file, reason
  std::vector<std::string> savedNow_;
};
