#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/write_result.h"

namespace settings {

// How a file is opened, by the names the stored files were first written with. The
// third, CREATE_ALWAYS, is SettingsFiles::replaceWhole.
enum class OpenMode {
  kOpenAlways,    // open, creating an empty file when missing; never truncates
  kOpenExisting,  // open only an existing file
};

// The mode of a new settings file that everyone may read, before the umask.
inline constexpr mode_t kSharedFileMode = 0666;

}  // namespace settings

// The settings and message files of both programs, as their dialog logic reaches them:
// each call is one open, one read or write under an exclusive lock, and a close. A file
// that cannot be opened (missing, held by another program, not a plain file) makes a
// read yield nothing and a write do nothing; a write says what happened in its
// WriteResult, in words for the status line. The files on disk are PosixSettingsFiles
// (common/settings_file.h); tests give a fake with fault switches.
class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;

  // One read of at most maxBytes from the start of the file.
  virtual std::string read(const std::filesystem::path& path, std::size_t maxBytes,
                           settings::OpenMode mode) = 0;
  // Writes bytes over the start of the file and keeps whatever follows them. On a
  // failure part of the bytes may have been written.
  virtual WriteResult writeInPlace(const std::filesystem::path& path, std::string_view bytes,
                                   settings::OpenMode mode) = 0;
  // Creates or replaces the file so that it holds exactly bytes (CREATE_ALWAYS), all or
  // nothing: a failed write leaves the old content (a missing file is left empty). An
  // existing file keeps its permissions less the group and other read and write that
  // newFileMode withholds; a new one gets newFileMode.
  virtual WriteResult replaceWhole(const std::filesystem::path& path, std::string_view bytes,
                                   mode_t newFileMode) = 0;
  // Whether path is a folder now (Halvard says at start when ./programEmail is missing).
  virtual bool isFolder(const std::filesystem::path& path) = 0;

  // The files on this machine's disk: what a dialog works on unless given others.
  static SettingsFiles& onDisk();
};
