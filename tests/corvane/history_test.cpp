#include <sys/stat.h>

#include <filesystem>

#include "corvane_fixture.h"

// "./zm40demohistory" through the dialog, on real files: what two Corvanes in one
// folder, or a fifo at the file's place, leave in it and tell the operator.
namespace {

class HistoryTest : public CorvaneFixture {
 protected:
  std::size_t historySize() const { return dir.read("zm40demohistory").size(); }
};

TEST_F(HistoryTest, SecondCorvaneInTheFolderKeepsItsRecordsOutAndSaysSo) {
  dlg.startUp();
  tick(501);
  ASSERT_EQ(historySize(), 100u);
  EXPECT_FALSE(outside.status.saw("zm40demohistory")) << outside.status.last();

  FakeControlPanel otherPanel;
  CorvaneOutside otherOutside(dir.path());
  CCorvaneDlg other(otherOutside.env(port, clock, otherPanel));
  other.startUp();
  EXPECT_EQ(historySize(), 100u);  // not emptied
  EXPECT_TRUE(otherOutside.status.saw("held by another Corvane")) << otherOutside.status.last();
  for (int i = 0; i < 501; ++i) other.onTimer();
  EXPECT_EQ(historySize(), 100u);
  // Its window still shows the time-out, as any Corvane's does.
  EXPECT_NE(other.display.receivedText.find("error: communication timeout"), std::string::npos);

  tick(501);
  EXPECT_EQ(historySize(), 200u);
}

TEST_F(HistoryTest, FifoInPlaceOfTheHistoryNeitherFreezesNorIsWritten) {
  ASSERT_EQ(::mkfifo((dir / "zm40demohistory").c_str(), 0600), 0);
  dlg.startUp();
  EXPECT_TRUE(outside.status.saw("not a regular file")) << outside.status.last();
  tick(3 * 501);
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "zm40demohistory"));
  EXPECT_NE(dlg.display.receivedText.find("error: communication timeout"), std::string::npos);
}

}  // namespace
