#include "sim/core/port_link.h"

#include <system_error>

namespace zmsim {

namespace fs = std::filesystem;

bool makePortLink(const fs::path& link, const std::string& target, std::string& error) {
  std::error_code ec;
  if (link.has_parent_path()) fs::create_directories(link.parent_path(), ec);
  fs::file_status status = fs::symlink_status(link, ec);
  if (fs::exists(status)) {
    if (!fs::is_symlink(status)) {
      error = link.string() + " exists and is not a link";
      return false;
    }
    fs::remove(link, ec);
  }
  fs::create_symlink(target, link, ec);
  if (ec) {
    error = "cannot make " + link.string() + ": " + ec.message();
    return false;
  }
  return true;
}

void removePortLink(const fs::path& link, const std::string& target) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(link, ec))) return;
  if (fs::read_symlink(link, ec) == fs::path(target)) fs::remove(link, ec);
}

}  // namespace zmsim
