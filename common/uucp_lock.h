#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// The UUCP lock files by which minicom, cu, the lockdev library and others say that
// they hold a serial port: LCK..<device name> in the lock folder, holding the holder's
// process id as ten ASCII digits and a line end. A lock whose process is gone is
// stale and is removed.
namespace uucp {

// Where lock files live: the first of these folders that exists.
inline const std::vector<std::filesystem::path> kLockFolders = {"/var/lock", "/run/lock"};

// The first folder of candidates that exists; empty when none does.
std::filesystem::path lockFolder(const std::vector<std::filesystem::path>& candidates);

// LCK..<name of device> in folder; device is the real path of the node (/dev/ttyUSB0,
// not a link to it), so every program names the same file.
std::filesystem::path lockFilePath(const std::filesystem::path& folder,
                                   const std::filesystem::path& device);

// The process a lock file names, when that process lives (kill(pid, 0) succeeds or
// answers EPERM); 0 when there is no lock file. A stale lock (dead process, or no
// process id to be read) is removed and counts as none.
pid_t liveHolder(const std::filesystem::path& lockFile);

// The lock this process makes for a port it holds. Taking it never fails loudly:
// where the folder cannot be written the port goes without one, and flock and
// TIOCEXCL stay the guard.
class Lock {
 public:
  Lock() = default;
  ~Lock() { release(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  // Takes the lock at lockFile (path from lockFilePath). Returns the live holder's
  // process id when another process holds it, and 0 when it was taken or could not
  // be made. A stale lock is removed first.
  pid_t acquire(const std::filesystem::path& lockFile);
  // Removes the lock file when it still names this process.
  void release();
  bool held() const { return !path_.empty(); }

 private:
  std::filesystem::path path_;  // empty while none is held
};

}  // namespace uucp
