#pragma once

#include <cstdio>
#include <string>

#include "common/status_line.h"

// Writes each message to a stream (stderr by default) as "<program> HH:MM:SS: message"
// and passes it on to the window's status line when one is set.
class StderrStatusLine : public StatusLine {
 public:
  explicit StderrStatusLine(std::string program, std::FILE* stream = stderr)
      : program_(std::move(program)), stream_(stream) {}

  // The window's own line; may be null (messages then go to the stream only). Must
  // outlive this object or be reset to null first.
  void setNext(StatusLine* next) { next_ = next; }

  void show(const std::string& message) override;

 private:
  std::string program_;
  std::FILE* stream_;
  StatusLine* next_ = nullptr;
};
