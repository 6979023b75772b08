#include "common/port_names.h"

#include <system_error>

std::optional<std::filesystem::path> resolvePortName(const std::string& name,
                                                     const std::filesystem::path& workDir) {
  if (!name.empty() && name.front() == '/') return std::filesystem::path(name);

  // Only the stored form "COM" + one digit 1-9, with or without the colon: both port
  // searches try COM1: to COM9:, and a longer number cannot be stored in the file.
  bool shortForm = name.size() == 4;
  bool colonForm = name.size() == 5 && name[4] == ':';
  if (!(shortForm || colonForm) || name.compare(0, 3, "COM") != 0) return std::nullopt;
  char digit = name[3];
  if (digit < '1' || digit > '9') return std::nullopt;

  std::filesystem::path link = workDir / "ports" / name.substr(0, 4);
  std::error_code ec;
  // symlink_status: a link whose target is gone still names the port the operator
  // chose; opening it then fails instead of falling back to another device.
  if (std::filesystem::exists(std::filesystem::symlink_status(link, ec))) return link;
  return std::filesystem::path("/dev/ttyS") += std::string(1, static_cast<char>(digit - 1));
}
