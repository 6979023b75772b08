#pragma once

#include <filesystem>
#include <string_view>

// A log that one program keeps open for its whole run and appends fixed records to
// (Corvane's "./zm40demohistory"). Each run starts it empty. Nothing reads it back.
class HistoryFile {
 public:
  enum class Outcome {
    kOpen,            // empty and ours for the run
    kHeldByAnother,   // another program (a second Corvane in the same folder) holds it
    kNotRegularFile,  // a fifo, a device or a folder stands at the path
    kFailed,          // could not be opened or emptied; osError says why
  };
  struct Opened {
    Outcome outcome = Outcome::kFailed;
    int osError = 0;
  };

  virtual ~HistoryFile() = default;
  // Opens the log for this run and empties it. When the outcome is not kOpen, the log
  // is left exactly as it was and append() does nothing.
  virtual Opened create() = 0;
  // Appends the bytes after the earlier records; a full disk loses them silently.
  virtual void append(std::string_view record) = 0;
};

// The log as a file on disk, held under an exclusive advisory lock (flock) from
// create() until the object ends. Only a regular file is used: the open never waits
// (O_NONBLOCK) and anything else at the path is left alone, so a fifo there cannot
// freeze the program. The lock is taken before the file is emptied, so a second
// program in the same folder never empties the first one's log.
class LockedHistoryFile : public HistoryFile {
 public:
  explicit LockedHistoryFile(std::filesystem::path path) : path_(std::move(path)) {}
  ~LockedHistoryFile() override;
  LockedHistoryFile(const LockedHistoryFile&) = delete;
  LockedHistoryFile& operator=(const LockedHistoryFile&) = delete;

  Opened create() override;
  void append(std::string_view record) override;

  const std::filesystem::path& path() const { return path_; }

 private:
  void closeFile();

  std::filesystem::path path_;
  int fd_ = -1;
};
