#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "common/history_file.h"
#include "fakes/temp_dir.h"

namespace {

using Outcome = HistoryFile::Outcome;

TEST(LockedHistoryFile, KeepsRecordsInOrderFromAnEmptyStart) {
  TempDir dir;
  dir.write("log", "an old run");
  LockedHistoryFile log(dir / "log");
  ASSERT_EQ(log.create().outcome, Outcome::kOpen);
  EXPECT_EQ(dir.read("log"), "");
  log.append("one,");
  log.append("two");
  EXPECT_EQ(dir.read("log"), "one,two");
}

// A second program in the same folder must neither empty the first one's log nor
// write into it.
TEST(LockedHistoryFile, SecondHolderLeavesTheFirstOnesRecordsAlone) {
  TempDir dir;
  LockedHistoryFile first(dir / "log");
  ASSERT_EQ(first.create().outcome, Outcome::kOpen);
  first.append("first run ");

  LockedHistoryFile second(dir / "log");
  EXPECT_EQ(second.create().outcome, Outcome::kHeldByAnother);
  second.append("second run ");
  first.append("goes on");
  EXPECT_EQ(dir.read("log"), "first run goes on");
}

// A fifo (or any other non-regular file) at the path is left alone at once: an open
// or a write that waited on it would freeze the window for good.
TEST(LockedHistoryFile, FifoOrFolderAtThePathIsLeftAloneWithoutWaiting) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  LockedHistoryFile fifo(dir / "fifo");
  EXPECT_EQ(fifo.create().outcome, Outcome::kNotRegularFile);
  for (int i = 0; i < 1000; ++i) fifo.append(std::string(100, 'x'));  // more than a pipe holds
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));

  dir.makeDir("folder");
  LockedHistoryFile folder(dir / "folder");
  HistoryFile::Opened opened = folder.create();
  EXPECT_NE(opened.outcome, Outcome::kOpen);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));

  LockedHistoryFile nowhere(dir / "missing" / "log");
  opened = nowhere.create();
  EXPECT_EQ(opened.outcome, Outcome::kFailed);
  EXPECT_NE(opened.osError, 0);
}

}  // namespace
