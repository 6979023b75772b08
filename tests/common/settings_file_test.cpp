#include "common/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <vector>

#include "child_process.h"
#include "fakes/fake_settings_files.h"
#include "fakes/temp_dir.h"

namespace {

using settings::OpenMode;

mode_t permissionsOf(const std::filesystem::path& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

std::vector<std::string> namesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// Another program holding the file: its own open file description with the lock.
class HeldByAnotherProgram {
 public:
  explicit HeldByAnotherProgram(const std::filesystem::path& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CLOEXEC)) {
    locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }
  ~HeldByAnotherProgram() {
    if (fd_ >= 0) ::close(fd_);
  }
  HeldByAnotherProgram(const HeldByAnotherProgram&) = delete;
  HeldByAnotherProgram& operator=(const HeldByAnotherProgram&) = delete;
  bool locked() const { return locked_; }

 private:
  int fd_;
  bool locked_ = false;
};

TEST(SettingsFile, OpenAlwaysCreatesAnEmptyFileAndNeverTruncates) {
  TempDir dir;
  EXPECT_EQ(settings::readFile(dir / "commport", 8, OpenMode::kOpenAlways), "");
  ASSERT_TRUE(dir.exists("commport"));
  EXPECT_EQ(dir.read("commport"), "");

  dir.write("commport", "COM3:");
  EXPECT_EQ(settings::readFile(dir / "commport", 8, OpenMode::kOpenAlways), "COM3:");
  EXPECT_EQ(settings::readFile(dir / "commport", 3, OpenMode::kOpenAlways), "COM");
  EXPECT_EQ(dir.read("commport"), "COM3:");

  settings::writeInPlace(dir / "fresh", "AB", OpenMode::kOpenAlways);
  EXPECT_EQ(dir.read("fresh"), "AB");
}

TEST(SettingsFile, OpenExistingNeverCreates) {
  TempDir dir;
  EXPECT_EQ(settings::readFile(dir / "command", 1, OpenMode::kOpenExisting), "");
  settings::writeInPlace(dir / "command", "x", OpenMode::kOpenExisting);
  EXPECT_FALSE(dir.exists("command"));
  EXPECT_FALSE(settings::exists(dir / "command"));

  dir.write("command", "7");
  EXPECT_TRUE(settings::exists(dir / "command"));
  EXPECT_EQ(settings::readFile(dir / "command", 1, OpenMode::kOpenExisting), "7");
  settings::writeInPlace(dir / "command", "\r", OpenMode::kOpenExisting);
  EXPECT_EQ(dir.read("command"), "\r");
}

TEST(SettingsFile, WriteInPlaceKeepsTheBytesAfterTheWrittenOnes) {
  TempDir dir;
  dir.write("commport", "COM1:   tail");
  settings::writeInPlace(dir / "commport", "COM3:", OpenMode::kOpenAlways);
  EXPECT_EQ(dir.read("commport"), "COM3:   tail");
  settings::writeInPlace(dir / "commport", "", OpenMode::kOpenAlways);
  EXPECT_EQ(dir.read("commport"), "COM3:   tail");
}

TEST(SettingsFile, ReplaceWholeReplacesKeepsPermissionsAndLeavesNoTemporary) {
  TempDir dir;
  dir.write("message1", "a much longer old message");
  ASSERT_EQ(::chmod((dir / "message1").c_str(), 0600), 0);
  settings::replaceWhole(dir / "message1", "new\r\n");
  EXPECT_EQ(dir.read("message1"), "new\r\n");
  EXPECT_EQ(permissionsOf(dir / "message1"), 0600u);

  settings::replaceWhole(dir / "message1", "");
  EXPECT_TRUE(dir.exists("message1"));
  EXPECT_EQ(dir.read("message1"), "");
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"message1"});
}

TEST(SettingsFile, ReplaceWholeCreatesNewFilesWithTheGivenMode) {
  TempDir dir;
  mode_t mask = ::umask(022);
  settings::replaceWhole(dir / "password", "secret", 0600);
  settings::replaceWhole(dir / "telephonenumber", "012", 0666);
  ::umask(mask);
  EXPECT_EQ(dir.read("password"), "secret");
  EXPECT_EQ(permissionsOf(dir / "password"), 0600u);
  EXPECT_EQ(permissionsOf(dir / "telephonenumber"), 0644u);
  EXPECT_EQ(namesIn(dir.path()).size(), 2u);
}

// Another user's password file left open to everyone: our copy is made private before
// it holds the password, and stays so; a text file keeps the rights it had.
TEST(SettingsFile, APrivateFileIsPrivateWhateverItsOldModeAndOwner) {
  TempDir dir;
  dir.makeDir("programEmail");
  dir.write("programEmail/password.txt", "old");
  dir.write("programEmail/subject.txt", "old");
  ASSERT_EQ(::chmod((dir / "programEmail/password.txt").c_str(), 0666), 0);
  ASSERT_EQ(::chmod((dir / "programEmail/subject.txt").c_str(), 0646), 0);
  ASSERT_EQ(::chmod((dir / "programEmail").c_str(), 0777), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  auto save = [&] {
    // As root the file is root's and the saver nobody: the saver may not chmod it.
    if (::geteuid() == 0 && !becomeNobody()) return std::string("setup");
    WriteResult secret = settings::replaceWhole(dir / "programEmail/password.txt", "s3cret", 0600);
    WriteResult subject = settings::replaceWhole(dir / "programEmail/subject.txt", "Alarm", 0666);
    return std::string(secret.ok && subject.ok ? "saved" : secret.reason + subject.reason);
  };
  std::optional<std::string> told = ::geteuid() == 0 ? inChild(save) : save();
  ASSERT_TRUE(told);
  EXPECT_EQ(*told, "saved");
  EXPECT_EQ(dir.read("programEmail/password.txt"), "s3cret");
  EXPECT_EQ(permissionsOf(dir / "programEmail/password.txt"), 0600u);
  EXPECT_EQ(permissionsOf(dir / "programEmail/subject.txt"), 0646u);
}

TEST(SettingsFile, ReplaceWholeWritesThroughALinkAndKeepsIt) {
  TempDir dir;
  dir.makeDir("shared");
  dir.write("shared/message1", "old");
  std::filesystem::create_symlink(dir / "shared/message1", dir / "message1");
  settings::replaceWhole(dir / "message1", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "message1"));
  EXPECT_EQ(dir.read("shared/message1"), "new");
  EXPECT_EQ(namesIn(dir.path() / "shared"), std::vector<std::string>{"message1"});
}

TEST(SettingsFile, FileHeldByAnotherProgramCountsAsMissing) {
  TempDir dir;
  dir.write("commport", "COM3:");
  HeldByAnotherProgram other(dir / "commport");
  ASSERT_TRUE(other.locked());

  EXPECT_FALSE(settings::exists(dir / "commport"));
  EXPECT_EQ(settings::readFile(dir / "commport", 8, OpenMode::kOpenAlways), "");
  EXPECT_EQ(settings::readFile(dir / "commport", 8, OpenMode::kOpenExisting), "");
  WriteResult inPlace = settings::writeInPlace(dir / "commport", "COM7:", OpenMode::kOpenAlways);
  WriteResult whole = settings::replaceWhole(dir / "commport", "COM8:");
  EXPECT_EQ(dir.read("commport"), "COM3:");
  for (const WriteResult& result : {inPlace, whole}) {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.osError, EWOULDBLOCK);
    EXPECT_EQ(result.reason, "locked by another program");
  }
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"commport"});
}

TEST(SettingsFile, MissingFolderMakesReadsEmptyAndWritesNothing) {
  TempDir dir;
  const auto path = dir / "programEmail/smtpserver.txt";
  EXPECT_EQ(settings::readFile(path, 100, OpenMode::kOpenAlways), "");
  WriteResult inPlace = settings::writeInPlace(path, "smtp", OpenMode::kOpenAlways);
  WriteResult whole = settings::replaceWhole(path, "smtp");
  EXPECT_FALSE(settings::exists(path));
  EXPECT_TRUE(namesIn(dir.path()).empty());
  for (const WriteResult& result : {inPlace, whole}) {
    EXPECT_FALSE(result);
    EXPECT_EQ(result.osError, ENOENT);
    EXPECT_EQ(result.reason, "the folder " + (dir / "programEmail").string() + " is missing");
  }

  // Inside the working directory the folder is named as the programs name it.
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  WriteResult relative = settings::replaceWhole(dir / "./programEmail/smtpserver.txt", "smtp");
  std::filesystem::current_path(before);
  EXPECT_EQ(relative.reason, "the folder ./programEmail is missing");
}

TEST(SettingsFile, WritesThatWorkSayOk) {
  TempDir dir;
  EXPECT_TRUE(settings::replaceWhole(dir / "message1", "text").ok);
  EXPECT_TRUE(settings::writeInPlace(dir / "message1", "T", OpenMode::kOpenExisting).ok);
  EXPECT_EQ(dir.read("message1"), "Text");
  WriteResult missing = settings::writeInPlace(dir / "command", "\r", OpenMode::kOpenExisting);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.reason, "the file does not exist");
}

// A folder this user may not write, holding a file this user may: no temporary file can
// be made beside it, and the edit is saved over the file itself.
TEST(SettingsFile, FileInAFolderWeMayNotWriteIsStillSaved) {
  TempDir dir;
  dir.makeDir("programEmail");
  dir.write("programEmail/subject.txt", "a much longer old subject");
  ASSERT_EQ(::chmod((dir / "programEmail/subject.txt").c_str(), 0666), 0);
  ASSERT_EQ(::chmod((dir / "programEmail").c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);

  auto save = [&] {
    if (::geteuid() == 0 && !becomeNobody()) return std::string("setup");
    WriteResult result = settings::replaceWhole(dir / "programEmail/subject.txt", "Alarm");
    WriteResult created = settings::replaceWhole(dir / "programEmail/to.txt", "x");
    return std::string(result.ok ? "saved" : result.reason) + "/" + created.reason;
  };
  std::optional<std::string> told = ::geteuid() == 0 ? inChild(save) : save();
  ::chmod((dir / "programEmail").c_str(), 0755);
  ASSERT_TRUE(told);
  EXPECT_EQ(*told, "saved/permission denied");
  EXPECT_EQ(dir.read("programEmail/subject.txt"), "Alarm");
  EXPECT_EQ(permissionsOf(dir / "programEmail/subject.txt"), 0666u);
  EXPECT_EQ(namesIn(dir / "programEmail"), std::vector<std::string>{"subject.txt"});
}

TEST(SettingsFile, OnlyRegularFilesAreSettingsFiles) {
  TempDir dir;
  dir.makeDir("message1");
  ASSERT_EQ(::mkfifo((dir / "command").c_str(), 0600), 0);
  EXPECT_EQ(settings::readFile(dir / "message1", 16, OpenMode::kOpenAlways), "");
  EXPECT_EQ(settings::readFile(dir / "command", 1, OpenMode::kOpenExisting), "");
  settings::replaceWhole(dir / "message1", "x");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "message1"));
  EXPECT_FALSE(settings::exists(dir / "command"));
}

// A disk that takes only the first bytes of a write (here: a file size limit of 4
// bytes): a replaced file keeps its old content and no temporary; an in-place write
// leaves the bytes it got. The fake's shortWrites() does the same.
TEST(SettingsFile, AShortWriteLeavesAReplacedFileWholeAndAnInPlaceOneBegun) {
  TempDir dir;
  dir.write("telephonenumber", "012");
  dir.write("commport", "ABCDEFGH");
  std::optional<std::string> told = inChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, 4};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("setup");
    WriteResult whole = settings::replaceWhole(dir / "telephonenumber", "5551234");
    WriteResult inPlace = settings::writeInPlace(dir / "commport", "/dev/tty", OpenMode::kOpenAlways);
    return whole.reason + "/" + inPlace.reason;
  });
  ASSERT_TRUE(told);
  EXPECT_EQ(*told, "File too large/File too large");
  EXPECT_EQ(dir.read("telephonenumber"), "012");
  EXPECT_EQ(dir.read("commport"), "/devEFGH");
  EXPECT_EQ(namesIn(dir.path()).size(), 2u);
}

// The fake that the dialogs' tests stand on, held to what the files on disk do: open
// modes, bytes kept, rights, and the words of each refusal.
class SettingsFilesContract : public ::testing::TestWithParam<bool> {
 protected:
  bool onFake() const { return GetParam(); }
  SettingsFiles& files() { return onFake() ? static_cast<SettingsFiles&>(fake) : disk; }
  std::optional<std::string> content(const char* name) {
    if (onFake()) return fake.content(dir / name);
    return dir.exists(name) ? std::optional(dir.read(name)) : std::nullopt;
  }
  void put(const char* name, std::string_view bytes, mode_t mode) {
    if (onFake()) return fake.put(dir / name, bytes, mode);
    dir.write(name, bytes);
    ::chmod((dir / name).c_str(), mode);
  }
  mode_t modeOf(const char* name) { return onFake() ? fake.modeOf(dir / name) : permissionsOf(dir / name); }

  TempDir dir;
  PosixSettingsFiles disk;
  FakeSettingsFiles fake;
};

TEST_P(SettingsFilesContract, TheFakeKeepsTheBytesRightsAndWordsOfTheDisk) {
  SettingsFiles& f = files();
  EXPECT_EQ(f.read(dir / "commport", 8, OpenMode::kOpenAlways), "");
  EXPECT_EQ(content("commport"), "");
  EXPECT_EQ(f.read(dir / "command", 8, OpenMode::kOpenExisting), "");
  EXPECT_EQ(f.writeInPlace(dir / "command", "\r", OpenMode::kOpenExisting).reason,
            "the file does not exist");
  EXPECT_EQ(content("command"), std::nullopt);

  put("commport", "COM2:xyz", 0644);
  EXPECT_TRUE(f.writeInPlace(dir / "commport", "COM4", OpenMode::kOpenAlways));
  EXPECT_EQ(f.read(dir / "commport", 6, OpenMode::kOpenExisting), "COM4:x");
  put("password.txt", "an old password", 0666);
  EXPECT_TRUE(f.replaceWhole(dir / "password.txt", "new", 0600));
  EXPECT_EQ(content("password.txt"), "new");
  EXPECT_EQ(modeOf("password.txt"), 0600u);

  if (onFake()) {
    fake.removeFolder(dir / "programEmail");
    fake.makeFifo(dir / "fifo");
  } else {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  }
  EXPECT_EQ(f.replaceWhole(dir / "programEmail/subject.txt", "x", 0666).reason,
            "the folder " + (dir / "programEmail").string() + " is missing");
  EXPECT_EQ(f.read(dir / "fifo", 8, OpenMode::kOpenAlways), "");
  EXPECT_EQ(f.writeInPlace(dir / "fifo", "x", OpenMode::kOpenAlways).reason, "it is not a plain file");
  EXPECT_TRUE(f.isFolder(dir.path()));
  EXPECT_FALSE(f.isFolder(dir / "programEmail"));
  EXPECT_FALSE(f.isFolder(dir / "commport"));
}

INSTANTIATE_TEST_SUITE_P(OnDiskAndFake, SettingsFilesContract, ::testing::Bool());

}  // namespace
