#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "halvard_fixture.h"

using namespace halvard_ids;

namespace {
mode_t permissionsOf(const std::filesystem::path& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 0777;
}
ino_t inodeOf(const std::filesystem::path& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
}
}  // namespace

class HalvardSaving : public HalvardFixture {
 protected:
  void SetUp() override {
    makeFolders();
    start();
    clearLog();
  }
};

TEST_F(HalvardSaving, EachKeystrokeMarksWaitsAndStores) {
  typeInto(kSubject, "abc");
  EXPECT_EQ(dlg.subjectChanged, 1);
  EXPECT_EQ(dlg.subject, "abc");
  EXPECT_EQ(clock.pauses(), (std::vector<int>{100, 100, 100}));
  EXPECT_FALSE(dir.exists("programEmail/subject.txt"));  // not before the tick

  tick();
  EXPECT_EQ(dlg.subjectChanged, 0);
  EXPECT_EQ(dir.read("programEmail/subject.txt"), "abc");
}

TEST_F(HalvardSaving, SeveralChangesBetweenTicksGiveOneWriteAndNoneAfter) {
  typeInto(kWaveFile, "alarm");
  replaceText(kWaveFile, "siren.wav");
  tick();
  ASSERT_EQ(dir.read("programEmail/musictitle.txt"), "siren.wav");

  // A file the mailer replaced meanwhile is left alone until the next edit.
  dir.write("programEmail/musictitle.txt", "theirs");
  ino_t before = inodeOf(dir / "programEmail/musictitle.txt");
  tick(3);
  EXPECT_EQ(dir.read("programEmail/musictitle.txt"), "theirs");
  EXPECT_EQ(inodeOf(dir / "programEmail/musictitle.txt"), before);
}

TEST_F(HalvardSaving, EveryEditSavesIntoItsOwnFile) {
  const std::pair<int, const char*> kFiles[] = {
      {kServerName, "servername.txt"},         {kFromAddress, "fromaddress.txt"},
      {kPassword, "password.txt"},             {kToAddress, "toaddress.txt"},
      {kSecondToAddress, "customertoaddress.txt"}, {kFirstLine, "emailfirstline.txt"},
      {kSubject, "subject.txt"},               {kWaveFile, "musictitle.txt"},
      {kWaveLength, "musiclength.txt"},        {kSender, "sender.txt"},
      {kUserName, "username.txt"}};
  for (const auto& [id, file] : kFiles) replaceText(id, "t" + std::to_string(id));
  tick();
  for (const auto& [id, file] : kFiles)
    EXPECT_EQ(dir.read(std::string("programEmail/") + file), "t" + std::to_string(id)) << file;
  EXPECT_FALSE(dir.exists("programEmail/user.txt"));
  EXPECT_FALSE(dir.exists("commport"));
}

TEST_F(HalvardSaving, EmptiedFieldLeavesAnEmptyFile) {
  typeInto(kSender, "me");
  tick();
  replaceText(kSender, "");
  tick();
  ASSERT_TRUE(dir.exists("programEmail/sender.txt"));
  EXPECT_EQ(dir.read("programEmail/sender.txt"), "");
}

TEST_F(HalvardSaving, LongTextsAreWrittenWholeAndComeBackCut) {
  std::string subject(80, 's');
  std::string firstLine(1500, 'f');
  replaceText(kSubject, subject);
  replaceText(kFirstLine, firstLine);
  tick();
  EXPECT_EQ(dir.read("programEmail/subject.txt"), subject);
  EXPECT_EQ(dir.read("programEmail/emailfirstline.txt"), firstLine);

  FakeControlPanel nextPanel;
  CHalvardDlg next(CHalvardDlg::Environment{mainPort, secondPort, clock, nextPanel, dir.path()});
  next.startUp();
  EXPECT_EQ(nextPanel.text(kSubject), std::string(50, 's'));
  EXPECT_EQ(nextPanel.text(kFirstLine), std::string(1000, 'f'));
}

TEST_F(HalvardSaving, PasswordIsPlainAndOwnerOnly) {
  typeInto(kPassword, "s3cr\xe9t");
  tick();
  EXPECT_EQ(dir.read("programEmail/password.txt"), "s3cr\xe9t");
  EXPECT_EQ(permissionsOf(dir / "programEmail/password.txt"), 0600u);

  typeInto(kPassword, "2");
  tick();
  EXPECT_EQ(dir.read("programEmail/password.txt"), "s3cr\xe9t2");
  EXPECT_EQ(permissionsOf(dir / "programEmail/password.txt"), 0600u);

  // Permissions the operator chose for an existing file stay as they are.
  ::chmod((dir / "programEmail/password.txt").c_str(), 0640);
  typeInto(kPassword, "3");
  tick();
  EXPECT_EQ(permissionsOf(dir / "programEmail/password.txt"), 0640u);
}

TEST_F(HalvardSaving, UserTxtTextIsSavedAsPartOfTheUserName) {
  TempDir other;
  other.makeDir("programEmail");
  other.write("programEmail/user.txt", "ab");
  FakeControlPanel otherPanel;
  CHalvardDlg otherDlg(CHalvardDlg::Environment{mainPort, secondPort, clock, otherPanel,
                                                other.path()});
  otherDlg.startUp();
  otherPanel.typeInto(kUserName, "x");
  otherDlg.onTextChanged(kUserName);
  otherDlg.onTimer();
  EXPECT_EQ(other.read("programEmail/username.txt"), "abx");
  EXPECT_EQ(other.read("programEmail/user.txt"), "ab");
}

TEST_F(HalvardSaving, PortNameIsFiveBytesInBothPortFiles) {
  struct Case {
    std::string typed;
    std::string stored;
  };
  for (const Case& c : {Case{"COM2:", "COM2:"}, Case{"COM2", std::string("COM2\0", 5)},
                        Case{"COM10:", "COM10"}, Case{"", std::string(5, '\0')}}) {
    replaceText(kCommPort, c.typed);
    tick();
    EXPECT_EQ(dir.read("program/commport"), c.stored) << c.typed;
    EXPECT_EQ(dir.read("commport"), c.stored) << c.typed;
  }
}

TEST_F(HalvardSaving, PortFilesKeepWhatFollowsTheFifthByte) {
  dir.write("commport", "COM7:abc");  // as Corvane leaves it: 8 bytes
  typeInto(kCommPort, "COM2:");
  tick();
  EXPECT_EQ(dir.read("commport"), "COM2:abc");
  EXPECT_EQ(dir.read("program/commport"), "COM2:");
}

TEST_F(HalvardSaving, ChangeAfterTheLastTickIsNotSavedOnClose) {
  typeInto(kToAddress, "a@b");
  tick();
  typeInto(kToAddress, "c");
  typeInto(kCommPort, "COM5:");
  dlg.onDestroy();
  EXPECT_EQ(dir.read("programEmail/toaddress.txt"), "a@b");
  EXPECT_FALSE(dir.exists("commport"));
  EXPECT_EQ(dir.read("program/commport"), "");
}

namespace {
// A panel whose controls notify on every change, programmatic ones included, as a
// widget with a plain change signal would.
struct NotifyingPanel : FakeControlPanel {
  std::function<void(int)> notify;
  void setText(int id, const std::string& text) override {
    FakeControlPanel::setText(id, text);
    if (notify) notify(id);
  }
};
}  // namespace

TEST(HalvardMarking, TextPutThereByTheProgramMarksNothing) {
  TempDir dir;
  dir.makeDir("programEmail");
  dir.write("programEmail/subject.txt", "Alarm");
  VirtualClock clock;
  FakeSerialBench bench(clock);
  FakeSerialPort mainPort(bench), secondPort(bench);
  NotifyingPanel panel;
  CHalvardDlg dlg(CHalvardDlg::Environment{mainPort, secondPort, clock, panel, dir.path()});
  panel.notify = [&dlg](int id) { dlg.onTextChanged(id); };
  dlg.startUp();

  EXPECT_EQ(panel.text(kSubject), "Alarm");
  EXPECT_EQ(dlg.subjectChanged, 0);
  EXPECT_EQ(clock.pauses(), std::vector<int>{100});  // start-up's own wait only
}

TEST(HalvardSavingWithoutEmailFolder, WritesNothingAndReportsNothing) {
  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench(clock);
  FakeSerialPort mainPort(bench), secondPort(bench);
  FakeControlPanel panel;
  CHalvardDlg dlg(CHalvardDlg::Environment{mainPort, secondPort, clock, panel, dir.path()});
  dlg.startUp();

  panel.typeInto(kSubject, "lost");
  dlg.onTextChanged(kSubject);
  dlg.onTimer();
  EXPECT_FALSE(dir.exists("programEmail"));
  EXPECT_TRUE(panel.messages().empty());

  // The folder made afterwards does not bring the earlier edit back.
  dir.makeDir("programEmail");
  dlg.onTimer();
  EXPECT_FALSE(dir.exists("programEmail/subject.txt"));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "programEmail"));

  // The shared port file lies in the working directory itself and is still written;
  // the missing ./program folder is not made for its copy.
  panel.replaceText(kCommPort, "COM2:");
  dlg.onTextChanged(kCommPort);
  dlg.onTimer();
  EXPECT_EQ(dir.read("commport"), "COM2:");
  EXPECT_FALSE(dir.exists("program"));
}
