#pragma once

#include <string>

// What a write of a settings file did: ok, or the errno of the call that failed and the
// reason in plain words for the status line ("permission denied", "the disk is full",
// "the folder ./programEmail is missing", "locked by another program").
struct WriteResult {
  bool ok = true;
  int osError = 0;
  std::string reason;

  explicit operator bool() const { return ok; }
};
