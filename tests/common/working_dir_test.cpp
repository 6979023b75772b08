#include "common/working_dir.h"

#include <gtest/gtest.h>

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

}  // namespace
