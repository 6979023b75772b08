#include "common/working_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>

#include "child_process.h"
#include "common/command_line.h"
#include "fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(WorkingDir, SharedFolderFollowsTheXdgDataDirectoryRule) {
  EXPECT_EQ(sharedWorkDir({"/data/alice", "/home/alice"}), fs::path("/data/alice/zm40"));
  // Unset, empty or relative XDG_DATA_HOME: the default under the home folder.
  EXPECT_EQ(sharedWorkDir({"", "/home/alice"}), fs::path("/home/alice/.local/share/zm40"));
  EXPECT_EQ(sharedWorkDir({"data", "/home/alice"}), fs::path("/home/alice/.local/share/zm40"));
  EXPECT_EQ(sharedWorkDir({"/data/alice", ""}), fs::path("/data/alice/zm40"));
  // Nowhere to go: no folder rather than one relative to wherever the program started.
  EXPECT_EQ(sharedWorkDir({"", ""}), fs::path());
  EXPECT_EQ(sharedWorkDir({"data", "home"}), fs::path());
}

TEST(WorkingDir, PreparingMakesTheFoldersHalvardNeedsAndKeepsWhatIsThere) {
  TempDir root;
  fs::path shared = root / "share/zm40";
  std::string error;
  ASSERT_TRUE(prepareSharedWorkDir(shared, error)) << error;
  EXPECT_TRUE(fs::is_directory(shared / "program"));
  EXPECT_TRUE(fs::is_directory(shared / "programEmail"));

  // The next start, by either program, finds the settings as they were left.
  root.write("share/zm40/commport", "COM3:");
  root.write("share/zm40/programEmail/servername.txt", "smtp.example.net");
  ASSERT_TRUE(prepareSharedWorkDir(shared, error)) << error;
  EXPECT_EQ(root.read("share/zm40/commport"), "COM3:");
  EXPECT_EQ(root.read("share/zm40/programEmail/servername.txt"), "smtp.example.net");
}

TEST(WorkingDir, AFileInTheWayIsNamedInTheError) {
  TempDir root;
  root.makeDir("zm40");
  root.write("zm40/programEmail", "not a folder");
  std::string error;
  EXPECT_FALSE(prepareSharedWorkDir(root / "zm40", error));
  EXPECT_NE(error.find((root / "zm40/programEmail").string()), std::string::npos) << error;
  EXPECT_EQ(root.read("zm40/programEmail"), "not a folder");
}

// A data directory that is a link looping on itself, or one this user may not search,
// is a folder that cannot be made: said, not thrown out of main() as an abort.
TEST(WorkingDir, ALoopingOrUnsearchableDataDirectoryIsSaidNotThrown) {
  TempDir root;
  fs::create_symlink(root / "b", root / "a");
  fs::create_symlink(root / "a", root / "b");
  std::string error;
  EXPECT_FALSE(prepareSharedWorkDir(root / "a/zm40", error));
  EXPECT_EQ(error.find("cannot make the folder " + (root / "a/zm40").string() + ": "), 0u) << error;

  root.makeDir("locked/share");
  ASSERT_EQ(::chmod(root.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod((root / "locked").c_str(), 0), 0);
  auto prepare = [&] {
    if (::geteuid() == 0 && !becomeNobody()) return std::string("setup");
    std::string why;
    return prepareSharedWorkDir(root / "locked/share/zm40", why) ? std::string("made") : why;
  };
  std::optional<std::string> told = ::geteuid() == 0 ? inChild(prepare) : prepare();
  ::chmod((root / "locked").c_str(), 0755);
  ASSERT_TRUE(told);
  EXPECT_EQ(*told, "cannot make the folder " + (root / "locked/share/zm40").string() +
                       ": Permission denied");
}

// A shell can stand in a folder that was deleted meanwhile: the program says so and
// ends with 1 instead of aborting on a working directory without a path.
TEST(WorkingDir, AStartInADeletedDirectoryEndsAndSaysWhy) {
  TempDir root;
  root.makeDir("gone");
  std::optional<std::string> told = inChild([&] {
    if (::chdir((root / "gone").c_str()) != 0 || ::rmdir((root / "gone").c_str()) != 0) return std::string("setup");
    std::ostringstream out;
    std::ostringstream err;
    char name[] = "halvard";
    char* argv[] = {name, nullptr};
    std::optional<int> status = startFromCommandLine({"halvard", ""}, 1, argv, out, err);
    return std::to_string(status.value_or(-1)) + " " + out.str() + err.str();
  });
  ASSERT_TRUE(told);
  EXPECT_EQ(*told, "1 halvard: the current directory no longer exists: start from a folder that does\n");
}

}  // namespace
