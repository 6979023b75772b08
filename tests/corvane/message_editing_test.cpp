#include <filesystem>
#include <string>
#include <vector>

#include "corvane_fixture.h"

using namespace corvane_ids;

class MessageEditingTest : public CorvaneFixture {
 protected:
  std::vector<std::string> filesInWorkDir() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    return names;
  }
};

TEST_F(MessageEditingTest, EveryKeystrokeRewritesTheWholeFile) {
  dir.write("alarmmessage", "an older and longer message");
  typeInto(kAlarmMessage1, "1");
  EXPECT_EQ(dir.read("alarmmessage"), "1");
  typeInto(kAlarmMessage1, "23");
  EXPECT_EQ(dir.read("alarmmessage"), "123");
  EXPECT_EQ(panel.text(kAlarmMessage1), "123");
}

TEST_F(MessageEditingTest, DeletingAllTextLeavesAnEmptyFile) {
  dir.write("alarmmessage2", "old");
  typeInto(kAlarmMessage2, "x");
  replaceText(kAlarmMessage2, "");
  EXPECT_TRUE(dir.exists("alarmmessage2"));
  EXPECT_EQ(std::filesystem::file_size(dir / "alarmmessage2"), 0u);
}

TEST_F(MessageEditingTest, EachFieldWritesOnlyItsOwnFile) {
  replaceText(kAlarmMessage8, "E130 01 001");
  EXPECT_EQ(filesInWorkDir(), std::vector<std::string>{"alarmmessage8"});
  EXPECT_EQ(dir.read("alarmmessage8"), "E130 01 001");

  const int ids[] = {kAlarmMessage1, kAlarmMessage2, kAlarmMessage3, kAlarmMessage4,
                     kAlarmMessage5, kAlarmMessage6, kAlarmMessage7};
  for (int n = 1; n <= 7; ++n) replaceText(ids[n - 1], "m" + std::to_string(n));
  for (int n = 1; n <= 7; ++n)
    EXPECT_EQ(dir.read(CorvaneFiles::alarmMessageFileName(n)), "m" + std::to_string(n));
  EXPECT_FALSE(dir.exists("alarmmessage9"));
}

TEST_F(MessageEditingTest, LongMessageIsWrittenWhole) {
  std::string text;
  for (int i = 0; i < 1500; ++i) text += static_cast<char>('A' + i % 26);
  replaceText(kAlarmMessage3, text);
  EXPECT_EQ(dir.read("alarmmessage3"), text);
}

TEST_F(MessageEditingTest, EditingTalksToNeitherTheModuleNorTheDisplay) {
  openModule();
  dlg.display.receivedText = "shown";
  dlg.loadControls();
  typeInto(kAlarmMessage5, "abc");
  EXPECT_EQ(sentBytes(), "");
  EXPECT_EQ(panel.text(kReceived), "shown");
  EXPECT_TRUE(clock.pauses().empty());
}
