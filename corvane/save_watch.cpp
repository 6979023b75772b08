#include "corvane/save_watch.h"

bool SaveWatch::note(const std::string& file, const WriteResult& result) {
  refusal_.erase(file);
  if (result.ok) {
    if (failing_.erase(file) != 0) status_.show(file + " saved");
    return true;
  }
  if (failing_.insert(file).second) {
    const std::string reason = result.reason.empty() ? "it could not be written" : result.reason;
    status_.show(file + " not saved: " + reason + " (tried again at each tick)");
  }
  return false;
}

void SaveWatch::refused(const std::string& file, const std::string& message) {
  failing_.insert(file);
  std::string& said = refusal_[file];
  if (said != message) status_.show(message);
  said = message;
}
