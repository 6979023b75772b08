#include "common/port_names.h"

#include <system_error>
#include <vector>

std::optional<int> comPortNumber(std::string_view name) {
  // Only the stored form "COM" + one digit 1-9, with or without the colon: both port
  // searches try COM1: to COM9:, and a longer number cannot be stored in the file.
  bool shortForm = name.size() == 4;
  bool colonForm = name.size() == 5 && name[4] == ':';
  if (!(shortForm || colonForm) || name.substr(0, 3) != "COM") return std::nullopt;
  char digit = name[3];
  if (digit < '1' || digit > '9') return std::nullopt;
  return digit - '0';
}

std::optional<std::filesystem::path> resolvePortName(const std::string& name,
                                                     const std::filesystem::path& workDir,
                                                     const DeviceTree& tree) {
  if (!name.empty() && name.front() == '/') return std::filesystem::path(name);
  std::optional<int> number = comPortNumber(name);
  if (!number) return std::nullopt;

  std::filesystem::path link = workDir / "ports" / name.substr(0, 4);
  std::error_code ec;
  // symlink_status: a link whose target is gone still names the port the operator
  // chose; opening it then fails instead of falling back to another device.
  if (std::filesystem::exists(std::filesystem::symlink_status(link, ec))) return link;

  std::vector<std::filesystem::path> present = serialPortsPresent(tree);
  if (static_cast<std::size_t>(*number) > present.size()) return std::nullopt;
  return present[static_cast<std::size_t>(*number - 1)];
}

bool fitsStoredPortName(std::string_view name, std::size_t limit) {
  return name.size() <= limit && name.find('\0') == std::string_view::npos;
}
