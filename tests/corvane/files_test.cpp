#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "corvane_fixture.h"
#include "fakes/fake_settings_files.h"

using namespace corvane_ids;
using namespace std::string_literals;

namespace {

class CorvaneFilesTest : public ::testing::Test {
 protected:
  TempDir dir;
  CorvaneFiles files{SettingsFiles::onDisk(), dir.path()};

  std::size_t fileCount() const {
    auto it = std::filesystem::directory_iterator(dir.path());
    return static_cast<std::size_t>(std::distance(it, std::filesystem::directory_iterator()));
  }
};

TEST_F(CorvaneFilesTest, TelephoneNumberKeepsOnlyPrintableBytesOfTheFirstTwenty) {
  EXPECT_EQ(files.readTelephoneNumber(), "");
  EXPECT_FALSE(dir.exists("telephonenumber"));
  dir.write("telephonenumber", "01 2\r\n");
  EXPECT_EQ(files.readTelephoneNumber(), "012");
  dir.write("telephonenumber", "\x7F\x80\xFF\t!~"s);
  EXPECT_EQ(files.readTelephoneNumber(), "\x7F!~");
  // The limit counts the bytes read, before the skipped ones are dropped.
  dir.write("telephonenumber", "          12345678901234567890");
  EXPECT_EQ(files.readTelephoneNumber(), "1234567890");
}

TEST_F(CorvaneFilesTest, AlarmMessagesKeepEveryByteUpToTheirLimits) {
  dir.write("alarmmessage", "1234\r\n");
  EXPECT_EQ(files.readAlarmMessage(1), "1234\r\n");
  EXPECT_EQ(files.readAlarmMessage(2), "");
  EXPECT_FALSE(dir.exists("alarmmessage2"));

  dir.write("alarmmessage7", std::string(120, 'x') + "\0y"s);
  EXPECT_EQ(files.readAlarmMessage(7), std::string(100, 'x'));
  dir.write("alarmmessage3", "18313101015\0A7890123"s);
  EXPECT_EQ(files.readRunMessage(3), "18313101015\0A789"s);
}

TEST_F(CorvaneFilesTest, SavedMessageReplacesTheWholeFileAndLeavesNoTemporary) {
  files.saveAlarmMessage(4, "a much longer first text");
  files.saveAlarmMessage(4, "short");
  files.saveAlarmMessage(1, "");
  EXPECT_EQ(dir.read("alarmmessage4"), "short");
  EXPECT_TRUE(dir.exists("alarmmessage"));
  EXPECT_EQ(dir.read("alarmmessage"), "");
  EXPECT_EQ(fileCount(), 2u);
}

TEST_F(CorvaneFilesTest, PortNameFileIsCreatedEmptyAndEndsAtTheFirstNul) {
  EXPECT_EQ(files.readPortName(), "");
  EXPECT_TRUE(dir.exists("commport"));
  EXPECT_EQ(dir.read("commport"), "");

  dir.write("commport", "COM3:\0\0\0"s);
  EXPECT_EQ(files.readPortName(), "COM3:");
  dir.write("commport", "/dev/ttyUSB0");
  EXPECT_EQ(files.readPortName(), "/dev/tty");
}

TEST_F(CorvaneFilesTest, PortNameIsWrittenAsEightBytesInPlace) {
  dir.write("commport", "COM9:\0\0\0TAIL"s);
  files.savePortName("COM4:");
  EXPECT_EQ(dir.read("commport"), "COM4:\0\0\0TAIL"s);
  // A name longer than the eight bytes is not cut into another device's name: the
  // file keeps what it held.
  EXPECT_FALSE(files.savePortName("/dev/ttyACM0").ok);
  EXPECT_EQ(dir.read("commport"), "COM4:\0\0\0TAIL"s);

  std::filesystem::remove(dir / "commport");
  files.savePortName("COM4:");
  EXPECT_EQ(dir.read("commport"), "COM4:\0\0\0"s);
  // The five bytes Halvard writes over it leave the rest of Corvane's eight.
  dir.write("commport", "COM2:\0\0\0"s);
  EXPECT_EQ(files.readPortName(), "COM2:");
}

TEST_F(CorvaneFilesTest, ProtocolCodeIsTheFirstByteAndIsSavedAlone) {
  EXPECT_EQ(files.readProtocolCode(), std::nullopt);
  dir.write("protocol2", "");
  EXPECT_EQ(files.readProtocolCode(), std::nullopt);
  dir.write("protocol2", "8123");
  EXPECT_EQ(files.readProtocolCode(), '8');
  files.saveProtocolCode('1');
  EXPECT_EQ(dir.read("protocol2"), "1");
}

TEST_F(CorvaneFilesTest, CommandIsTakenOnceAndMarkedWithACarriageReturn) {
  EXPECT_EQ(files.takeCommand(), std::nullopt);
  EXPECT_FALSE(dir.exists("command"));

  dir.write("command", "Axyz");
  EXPECT_EQ(files.takeCommand(), 'A');
  EXPECT_EQ(dir.read("command"), "\rxyz");
  EXPECT_EQ(files.takeCommand(), std::nullopt);
  EXPECT_EQ(dir.read("command"), "\rxyz");

  for (std::string first : {" ", "\x7F"}) {
    dir.write("command", first + "q");
    EXPECT_EQ(files.takeCommand(), first[0]);
  }
  for (std::string first : {"\x1F", "\x80"}) {
    dir.write("command", first + "q");
    EXPECT_EQ(files.takeCommand(), std::nullopt);
    EXPECT_EQ(dir.read("command"), first + "q");
  }
  dir.write("command", "");
  EXPECT_EQ(files.takeCommand(), std::nullopt);
  EXPECT_EQ(dir.read("command"), "");
}

TEST_F(CorvaneFilesTest, DisplayMessageIsWrittenOnlyWhenItExists) {
  files.writeDisplayMessage("MESSAGE SUCCESS");
  EXPECT_FALSE(dir.exists("displaymessage"));

  dir.write("displaymessage", "0123456789abcdefGHIJ");
  files.writeDisplayMessage("hi\r\n");
  EXPECT_EQ(dir.read("displaymessage"), "hi\r\n\0\0\0\0\0\0\0\0\0\0\0\0GHIJ"s);
  files.writeDisplayMessage("MESSAGE SUCCESS and more");
  EXPECT_EQ(dir.read("displaymessage"), "MESSAGE SUCCESS GHIJ");
}

TEST_F(CorvaneFilesTest, HistoryStartsEmptyAndTakesHundredByteRecords) {
  LockedHistoryFile history(dir / "zm40demohistory");
  history.append(CorvaneFiles::timeoutRecord());  // before it is created: nothing
  EXPECT_FALSE(dir.exists("zm40demohistory"));

  dir.write("zm40demohistory", "an old run");
  ASSERT_EQ(history.create().outcome, HistoryFile::Outcome::kOpen);
  EXPECT_EQ(dir.read("zm40demohistory"), "");
  for (int i = 0; i < 3; ++i) history.append(CorvaneFiles::timeoutRecord());
  std::string log = dir.read("zm40demohistory");
  ASSERT_EQ(log.size(), 300u);
  std::string record = "error: communication timeout has occured."s + std::string(59, '\0');
  EXPECT_EQ(log, record + record + record);
}

TEST_F(CorvaneFilesTest, FileHeldByAnotherProgramIsNeitherReadNorWritten) {
  dir.write("commport", "COM5:");
  int fd = ::open((dir / "commport").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EXPECT_EQ(files.readPortName(), "");
  files.savePortName("COM6:");
  ::close(fd);
  EXPECT_EQ(dir.read("commport"), "COM5:");
}

// The edit handlers that write files, through the dialog.
class FileEditTest : public CorvaneFixture {};

TEST_F(FileEditTest, TelephoneNumberFileFollowsEveryKeystroke) {
  typeInto(kTelephoneNumber, "5");
  EXPECT_EQ(dir.read("telephonenumber"), "5");
  replaceText(kTelephoneNumber, "");
  EXPECT_TRUE(dir.exists("telephonenumber"));
  EXPECT_EQ(dir.read("telephonenumber"), "");

  typeInto(kTelephoneNumber, "55");
  typeInto(kTelephoneNumber, "5");
  EXPECT_EQ(dir.read("telephonenumber"), "555");
  EXPECT_EQ(panel.text(kTelephoneNumber), "555");
  EXPECT_TRUE(bench.events().empty());
  EXPECT_TRUE(clock.pauses().empty());
}

TEST_F(FileEditTest, ALoadRunsNoHandlerAndWritesNoFile) {
  dlg.telephoneNumber = "123";
  dlg.loadControls();
  EXPECT_FALSE(dir.exists("telephonenumber"));
}

TEST_F(FileEditTest, OkWithThreeKissOffCharactersFailsAndSaysWhy) {
  panel.replaceText(kTelephoneNumber, "42");
  panel.replaceText(kKissoffTime, "0AB");
  EXPECT_FALSE(dlg.onOk());
  EXPECT_EQ(panel.messages(), std::vector<std::string>{"Please enter no more than 2 characters."});
  EXPECT_EQ(panel.focus(), kKissoffTime);
  EXPECT_EQ(dlg.telephoneNumber, "42");  // stored before the failing edit
  EXPECT_EQ(dlg.kissoffTimeText, "");

  panel.replaceText(kKissoffTime, "0A");
  EXPECT_TRUE(dlg.onOk());
  EXPECT_EQ(dlg.kissoffTimeText, "0A");
}

using FileFaultTest = OnFakeFiles<CorvaneFixture>;

// Each way a write can fail, on the number the operator types (replaced whole at each
// key) and on the port name the tick writes in place: the operator is told once why,
// the file keeps what it held, and the write is tried at each tick until it goes through.
TEST_F(FileFaultTest, EachFailedWriteIsSaidAndLeavesTheFileAsItWas) {
  const std::filesystem::path number = dir / "telephonenumber";
  const std::filesystem::path port = dir / "commport";
  struct Case {
    std::function<void()> fault;
    std::string reason;
    std::optional<std::string> numberKept;
    std::optional<std::string> portKept;
  };
  const std::string oldPort = "ABCDEFGH";
  const std::vector<Case> cases{
      // A full disk still takes eight bytes over the eight that ./commport has.
      {[&] { files.fillDisk(); }, "the disk is full", "012", std::nullopt},
      {[&] { files.denyPermission(number), files.denyPermission(port); }, "permission denied", "012", oldPort},
      {[&] { files.failWithIoError(number), files.failWithIoError(port); }, "the disk reported an error",
       "012", oldPort},
      // An in-place write that stops short leaves what it got: the retry puts it right.
      {[&] { files.shortWrites(number, 2), files.shortWrites(port, 3); }, "the disk is full", "012",
       "COMDEFGH"},
      {[&] { files.removeFolder(dir.path()); }, "the folder " + dir.path().string() + " is missing",
       std::nullopt, std::nullopt},
      {[&] { files.makeFifo(number), files.makeFifo(port); }, "it is not a plain file", std::nullopt,
       std::nullopt},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    files.put(number, "012");
    files.put(port, oldPort);
    const std::string typed = "555000" + std::to_string(++n);
    const std::string name = "COM" + std::to_string(n) + ":";
    c.fault();
    replaceText(kTelephoneNumber, typed);
    replaceText(kCommport, name);
    tick();
    EXPECT_TRUE(outside.status.saw("./telephonenumber not saved: " + c.reason + " (tried again at each tick)"));
    EXPECT_EQ(files.content(number), c.numberKept);
    if (c.portKept) {
      EXPECT_TRUE(outside.status.saw("./commport not saved: " + c.reason));
      EXPECT_EQ(files.content(port), c.portKept);
    }

    files.clearFaults();
    outside.status.messages.clear();
    tick();
    EXPECT_EQ(files.content(number), typed);
    EXPECT_EQ(files.content(port), name + std::string(3, '\0'));
    EXPECT_TRUE(outside.status.saw("./telephonenumber saved"));
  }
}

}  // namespace
