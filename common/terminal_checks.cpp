#include "common/terminal_checks.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// The tty_nr field of /proc/self/stat in the kernel's encoding, 0 without a terminal.
// The command name in parentheses may hold blanks, so the fields count from its end.
bool controllingTerminal(dev_t& rdev) {
  std::ifstream in("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  std::size_t end = text.rfind(')');
  if (end == std::string::npos) return false;
  std::istringstream fields(text.substr(end + 1));
  std::string state;
  long ppid = 0, pgrp = 0, session = 0;
  unsigned long ttyNr = 0;
  if (!(fields >> state >> ppid >> pgrp >> session >> ttyNr) || ttyNr == 0) return false;
  unsigned int major = (ttyNr >> 8) & 0xfff;
  unsigned int minor = (ttyNr & 0xff) | ((ttyNr >> 12) & 0xfff00);
  rdev = makedev(major, minor);
  return true;
}

}  // namespace

bool isOwnTerminal(dev_t rdev) {
  if (rdev == makedev(5, 0)) return true;  // /dev/tty: whatever terminal the process has
  dev_t own = 0;
  if (controllingTerminal(own) && own == rdev) return true;
  for (int fd = 0; fd <= 2; ++fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == rdev && ::isatty(fd)) {
      return true;
    }
  }
  return false;
}

std::string groupName(gid_t gid) {
  std::vector<char> buffer(4096);
  group entry {};
  group* found = nullptr;
  while (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
         buffer.size() < (1u << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  return found && found->gr_name ? std::string(found->gr_name) : std::to_string(gid);
}

PortProblem::Kind kindForOpenError(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return PortProblem::Kind::kPermission;
    case EBUSY:
    case EWOULDBLOCK:
      return PortProblem::Kind::kBusy;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return PortProblem::Kind::kNoDevice;
    case ENOTTY:
    case EINVAL:
      return PortProblem::Kind::kNotSerial;
    default:
      return PortProblem::Kind::kOther;
  }
}
