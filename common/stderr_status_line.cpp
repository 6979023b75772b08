#include "common/stderr_status_line.h"

#include <ctime>

void StderrStatusLine::show(const std::string& message) {
  std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  char stamp[16];
  std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
  std::fprintf(stream_, "%s %s: %s\n", program_.c_str(), stamp, message.c_str());
  std::fflush(stream_);
  if (next_ != nullptr) next_->show(message);
}
