#pragma once

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "common/settings_file.h"
#include "common/settings_files.h"

// Settings files held in memory, by path, for tests: what a program's files would hold
// on disk, with no disk. Every folder exists unless removed. The files behave as
// PosixSettingsFiles does (the contract in common/settings_files.h, held to it by
// tests/common/settings_file_test.cpp): the open modes, the bytes kept after an
// in-place write, the all-or-nothing replace, the permissions a replaced file keeps,
// the plain words of each failure.
//
// Fault switches, in the manner of the fake serial bench: a full disk, a file that may
// not be opened, a disk that reports an I/O error, a write that stops short, a folder
// that is missing, a file that is a fifo. Each stays on until clearFaults(), which
// brings a removed folder back empty.
class FakeSettingsFiles : public SettingsFiles {
 public:
  // --- what the files hold -----------------------------------------------------------
  void put(const std::filesystem::path& path, std::string_view bytes, mode_t mode = 0666) {
    files_[key(path)] = File{std::string(bytes), mode};
  }
  // The file's bytes, or nothing when it does not exist.
  std::optional<std::string> content(const std::filesystem::path& path) const {
    auto it = files_.find(key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second.bytes;
  }
  mode_t modeOf(const std::filesystem::path& path) const {
    auto it = files_.find(key(path));
    return it == files_.end() ? 0 : it->second.mode;
  }

  // --- fault switches ----------------------------------------------------------------
  // No room left: a write that needs new room fails with ENOSPC. An in-place write over
  // bytes the file already has needs none.
  void fillDisk() { diskFull_ = true; }
  // Opening the file is refused (EACCES), as for another user's file.
  void denyPermission(const std::filesystem::path& path) { denied_.insert(key(path)); }
  // Every write of the file fails with EIO before a byte is stored.
  void failWithIoError(const std::filesystem::path& path) { ioError_.insert(key(path)); }
  // Each write of the file stores its first `bytes` bytes, then the disk is full.
  void shortWrites(const std::filesystem::path& path, std::size_t bytes) { shortAt_[key(path)] = bytes; }
  // The folder is gone with everything in it; it is not made again by a write.
  void removeFolder(const std::filesystem::path& folder) {
    const std::string gone = key(folder);
    removed_.insert(gone);
    std::erase_if(files_, [&](const auto& entry) { return isUnder(entry.first, gone); });
  }
  // The file is a fifo until clearFaults(): neither read nor written, as a settings
  // file must never be.
  void makeFifo(const std::filesystem::path& path) {
    files_.erase(key(path));
    fifos_.insert(key(path));
  }
  void clearFaults() {
    diskFull_ = false;
    denied_.clear();
    ioError_.clear();
    shortAt_.clear();
    removed_.clear();
    fifos_.clear();
  }

  // --- SettingsFiles -----------------------------------------------------------------
  std::string read(const std::filesystem::path& path, std::size_t maxBytes,
                   settings::OpenMode mode) override {
    File* file = open(path, mode == settings::OpenMode::kOpenAlways, settings::kSharedFileMode).file;
    if (file == nullptr || ioError_.count(key(path)) != 0) return {};
    return file->bytes.substr(0, maxBytes);
  }

  WriteResult writeInPlace(const std::filesystem::path& path, std::string_view bytes,
                           settings::OpenMode mode) override {
    Opened opened = open(path, mode == settings::OpenMode::kOpenAlways, settings::kSharedFileMode);
    if (opened.file == nullptr) return failed(opened.error, path);
    std::string& now = opened.file->bytes;
    std::size_t room = diskFull_ ? now.size() : bytes.size();
    int error = ioError_.count(key(path)) != 0 ? EIO : 0;
    if (error == 0 && shortAt_.count(key(path)) != 0) room = std::min(room, shortAt_[key(path)]);
    if (error == 0) {
      const std::size_t stored = std::min(room, bytes.size());
      now.replace(0, std::min(stored, now.size()), bytes.substr(0, stored));
      if (stored < bytes.size()) error = ENOSPC;
    }
    return error == 0 ? WriteResult{} : failed(error, path);
  }

  WriteResult replaceWhole(const std::filesystem::path& path, std::string_view bytes,
                           mode_t newFileMode) override {
    Opened opened = open(path, true, newFileMode);
    if (opened.file == nullptr) return failed(opened.error, path);
    // The new bytes go to a file of their own first: any failure leaves the old ones.
    if (ioError_.count(key(path)) != 0) return failed(EIO, path);
    if (diskFull_ || shortAt_.count(key(path)) != 0) return failed(ENOSPC, path);
    opened.file->bytes = std::string(bytes);
    opened.file->mode &= ~(066 & ~newFileMode);
    return {};
  }

  bool isFolder(const std::filesystem::path& path) override {
    const std::string k = key(path);
    return !folderMissing(k + "/x") && files_.count(k) == 0 && fifos_.count(k) == 0;
  }

 private:
  struct File {
    std::string bytes;
    mode_t mode = 0666;
  };
  struct Opened {
    File* file = nullptr;
    int error = 0;
  };

  static std::string key(const std::filesystem::path& path) {
    std::string k = path.lexically_normal().string();
    if (k.size() > 1 && k.back() == '/') k.pop_back();
    return k;
  }
  static bool isUnder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
  }
  bool folderMissing(const std::string& k) const {
    for (const std::string& gone : removed_) {
      if (isUnder(k, gone)) return true;
    }
    return false;
  }

  // The open of the real files: refused folders, fifos and permissions first, then a
  // missing file made (empty, with mode) only when create is asked and there is room.
  Opened open(const std::filesystem::path& path, bool create, mode_t mode) {
    const std::string k = key(path);
    if (folderMissing(k)) return {nullptr, ENOENT};
    if (fifos_.count(k) != 0) return {nullptr, EINVAL};
    if (denied_.count(k) != 0) return {nullptr, EACCES};
    auto it = files_.find(k);
    if (it != files_.end()) return {&it->second, 0};
    if (!create) return {nullptr, ENOENT};
    if (diskFull_) return {nullptr, ENOSPC};
    return {&(files_[k] = File{{}, mode}), 0};
  }

  WriteResult failed(int error, const std::filesystem::path& path) const {
    return {false, error, settings::describeFileError(error, path, folderMissing(key(path)))};
  }

  std::map<std::string, File> files_;
  bool diskFull_ = false;
  std::set<std::string> denied_;
  std::set<std::string> ioError_;
  std::map<std::string, std::size_t> shortAt_;
  std::set<std::string> removed_;
  std::set<std::string> fifos_;
};

// A dialog fixture whose settings files are fake ones: they are made before the
// fixture's dialog, which is given them.
struct FakeFilesFirst {
  FakeSettingsFiles files;
};
template <class Fixture>
class OnFakeFiles : protected FakeFilesFirst, public Fixture {
 protected:
  OnFakeFiles() : Fixture(FakeFilesFirst::files) {}
};
