#pragma once

#include <map>
#include <set>
#include <string>

#include "common/status_line.h"
#include "common/write_result.h"

// Tells the operator about the saves of Corvane's settings files: the first write of
// a file that fails is said with its reason, the later failures of the same run are
// not, and the write that finally succeeds is said too. The file name is given as it
// is shown ("./telephonenumber").
class SaveWatch {
 public:
  // status must outlive the watch.
  explicit SaveWatch(StatusLine& status) : status_(status) {}

  // Notes one write of file; returns whether it was saved.
  bool note(const std::string& file, const WriteResult& result);
  // Says that a value was not written at all, for a reason of its own (a port name that
  // does not fit): message is the whole line, said again only when it changes (the
  // operator typed on), not at every retry.
  void refused(const std::string& file, const std::string& message);
  // Whether the last write of file failed (or was refused).
  bool failing(const std::string& file) const { return failing_.count(file) != 0; }

 private:
  StatusLine& status_;
  std::set<std::string> failing_;
  std::map<std::string, std::string> refusal_;  // the last refusal said, by file
};
