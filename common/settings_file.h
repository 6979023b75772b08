#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/settings_files.h"
#include "common/write_result.h"

// The small settings files of both programs on disk, over POSIX: one read or one write
// per call, each under an exclusive advisory lock (flock) that is released at once. A
// file that another program holds locked counts as one that cannot be opened. A failed
// open makes a read yield nothing and a write do nothing; a write says what happened in
// its WriteResult, for the status line (the files themselves stay as they are).
namespace settings {

// One read of at most maxBytes from the start of the file.
std::string readFile(const std::filesystem::path& path, std::size_t maxBytes, OpenMode mode);

// Writes bytes over the start of the file and keeps whatever follows them.
WriteResult writeInPlace(const std::filesystem::path& path, std::string_view bytes,
                         OpenMode mode);

// Creates or replaces the file so that it holds exactly bytes (the CREATE_ALWAYS
// mode). The new content is written to a temporary file in the same folder and
// renamed over the old one, so a reader never sees a half-written file and a full
// disk leaves the old content in place. The bytes are written while the temporary file
// is readable by its owner only. An existing file keeps its permissions less the read
// and write rights of group and others that newFileMode withholds (a 0600 file stays
// 0600 whatever an earlier copy allowed); a new one gets newFileMode (before the umask).
// Where no new file can be made in the folder (a folder we may not write holding a file
// we may), the file is overwritten in place and cut to the new length instead: the edit
// is saved, without the all-or-nothing, and not at all when its rights must be narrowed
// and cannot be.
WriteResult replaceWhole(const std::filesystem::path& path, std::string_view bytes,
                         mode_t newFileMode = kSharedFileMode);

// The plain words for errno error met on path, e.g. "the folder ./programEmail is
// missing" for ENOENT when the folder is missing (looked up on disk).
std::string describeFileError(int error, const std::filesystem::path& path);
// The same where the caller knows whether the folder of path is missing.
std::string describeFileError(int error, const std::filesystem::path& path, bool folderMissing);

// Whether the file exists and can be locked for our one access right now.
bool exists(const std::filesystem::path& path);

}  // namespace settings

// SettingsFiles over the functions above: the files as they are on this machine's disk.
class PosixSettingsFiles : public SettingsFiles {
 public:
  std::string read(const std::filesystem::path& path, std::size_t maxBytes,
                   settings::OpenMode mode) override {
    return settings::readFile(path, maxBytes, mode);
  }
  WriteResult writeInPlace(const std::filesystem::path& path, std::string_view bytes,
                           settings::OpenMode mode) override {
    return settings::writeInPlace(path, bytes, mode);
  }
  WriteResult replaceWhole(const std::filesystem::path& path, std::string_view bytes,
                           mode_t newFileMode) override {
    return settings::replaceWhole(path, bytes, newFileMode);
  }
  bool isFolder(const std::filesystem::path& path) override;
};
