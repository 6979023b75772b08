#include "halvard/save_report.h"

#include <cerrno>
#include <filesystem>

namespace {

std::string joined(const std::vector<std::string>& files) {
  std::string text;
  for (const std::string& file : files) text += (text.empty() ? "" : ", ") + file;
  return text;
}

}  // namespace

std::string SaveReport::reasonFor(const std::string& file, const WriteResult& result) {
  std::filesystem::path folder = std::filesystem::path(file).parent_path();
  if (!folder.empty() && folder != ".") {
    if (result.osError == ENOENT) return "the folder " + folder.string() + " is missing: create it to save";
    if (result.osError == ENOTDIR) return folder.string() + " is not a folder: make it one to save";
  }
  return result.reason.empty() ? std::string("the write failed") : result.reason;
}

void SaveReport::written(const std::string& file) {
  if (reported_.erase(file) != 0) savedNow_.push_back(file);
}

void SaveReport::failed(const std::string& file, const WriteResult& result) {
  std::string reason = reasonFor(file, result);
  auto [it, added] = reported_.try_emplace(file, reason);
  if (!added && it->second == reason) return;
  it->second = reason;
  newFailures_.emplace_back(file, reason);
}

void SaveReport::tell(StatusLine& status) {
  // One line per reason, in the order the files were met.
  std::vector<std::string> reasons;
  std::map<std::string, std::vector<std::string>> filesFor;
  for (const auto& [file, reason] : newFailures_) {
    if (filesFor.count(reason) == 0) reasons.push_back(reason);
    filesFor[reason].push_back(file);
  }
  for (const std::string& reason : reasons) status.show(joined(filesFor[reason]) + " not saved: " + reason);
  if (!savedNow_.empty()) status.show("saved now: " + joined(savedNow_));
  newFailures_.clear();
  savedNow_.clear();
}
