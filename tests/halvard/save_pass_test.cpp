#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_settings_files.h"
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
    status.messages.clear();
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
  CHalvardDlg next(CHalvardDlg::Environment{mainPort, secondPort, clock, nextPanel, status, dir.path()});
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

  // A copy readable by everyone, left by an older installation, is made owner-only
  // at the next save; the text stays as typed, since the mailer reads it so.
  ::chmod((dir / "programEmail/password.txt").c_str(), 0644);
  typeInto(kPassword, "3");
  tick();
  EXPECT_EQ(permissionsOf(dir / "programEmail/password.txt"), 0600u);
  EXPECT_EQ(dir.read("programEmail/password.txt"), "s3cr\xe9t23");
  EXPECT_TRUE(status.messages.empty());
}

TEST_F(HalvardSaving, UserTxtTextIsSavedAsPartOfTheUserName) {
  TempDir other;
  other.makeDir("programEmail");
  other.write("programEmail/user.txt", "ab");
  FakeControlPanel otherPanel;
  CHalvardDlg otherDlg(CHalvardDlg::Environment{mainPort, secondPort, clock, otherPanel, status,
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
  SilentStatusLine status;
  CHalvardDlg dlg(CHalvardDlg::Environment{mainPort, secondPort, clock, panel, status, dir.path()});
  panel.notify = [&dlg](int id) { dlg.onTextChanged(id); };
  dlg.startUp();

  EXPECT_EQ(panel.text(kSubject), "Alarm");
  EXPECT_EQ(dlg.subjectChanged, 0);
  EXPECT_EQ(clock.pauses(), std::vector<int>{100});  // start-up's own wait only
}

class HalvardWithoutFolders : public HalvardFixture {
 protected:
  void SetUp() override {
    start();
    status.messages.clear();
  }
};

TEST_F(HalvardWithoutFolders, EditIsKeptAndToldOnceUntilTheFolderIsMade) {
  typeInto(kServerName, "smtp.example.org");
  tick(5);
  EXPECT_EQ(status.messages, (std::vector<std::string>{
                                 "./programEmail/servername.txt not saved: the folder "
                                 "./programEmail is missing: create it to save"}));
  EXPECT_EQ(dlg.serverNameChanged, 1);
  EXPECT_FALSE(dir.exists("programEmail"));  // never made for the operator

  typeInto(kSubject, "Alarm");
  tick(2);
  EXPECT_EQ(status.messages.size(), 2u);  // the second file, once

  dir.makeDir("programEmail");
  tick();
  EXPECT_EQ(dir.read("programEmail/servername.txt"), "smtp.example.org");
  EXPECT_EQ(dir.read("programEmail/subject.txt"), "Alarm");
  EXPECT_EQ(dlg.serverNameChanged + dlg.subjectChanged, 0);
  EXPECT_EQ(status.last(), "saved now: ./programEmail/servername.txt, ./programEmail/subject.txt");
  tick(3);
  EXPECT_EQ(status.messages.size(), 3u);
}

TEST_F(HalvardWithoutFolders, PortFilesAreSavedEachOnItsOwn) {
  // ./commport lies in the working directory itself and is written at once; the copy
  // in the missing ./program waits for its folder.
  replaceText(kCommPort, "COM2:");
  tick();
  EXPECT_EQ(dir.read("commport"), "COM2:");
  EXPECT_EQ(dlg.commPortChanged, 1);
  EXPECT_EQ(dlg.sharedPortChanged, 0);
  EXPECT_EQ(status.last(),
            "./program/commport not saved: the folder ./program is missing: create it to save");

  // Corvane's later name is not overwritten by the retries of the other file.
  dir.write("commport", "COM7:abc");
  tick(3);
  EXPECT_EQ(dir.read("commport"), "COM7:abc");
}

TEST_F(HalvardWithoutFolders, EmailSwitchIsStoredOnceItsFolderIsThere) {
  click(kEnableEmail);
  EXPECT_TRUE(panel.checked(kEnableEmail));
  EXPECT_EQ(status.last(), "./programEmail/programflag.txt not saved: the folder ./programEmail "
                           "is missing: create it to save");
  dir.makeDir("programEmail");
  tick();
  EXPECT_EQ(dir.read("programEmail/programflag.txt"), "E");
  EXPECT_EQ(status.last(), "saved now: ./programEmail/programflag.txt");
}

using HalvardFileFaults = OnFakeFiles<HalvardFixture>;

// Each way a write can fail, on a text file (replaced whole) and the main port file
// (written in place): told once with its reason, the files keep what they held, and
// the pass writes them once the fault is gone.
TEST_F(HalvardFileFaults, EachFailedWriteIsSaidAndLeavesTheFilesAsTheyWere) {
  const std::filesystem::path subject = dir / "programEmail/subject.txt";
  const std::filesystem::path port = dir / "program/commport";
  start();
  struct Case {
    std::function<void()> fault;
    std::vector<std::string> told;
    std::optional<std::string> subjectKept;
    std::optional<std::string> portKept;
  };
  const std::string both = "./programEmail/subject.txt, ./program/commport not saved: ";
  const std::vector<Case> cases{
      // A full disk still takes five bytes over the five that the port file has.
      {[&] { files.fillDisk(); }, {"./programEmail/subject.txt not saved: the disk is full"}, "Old",
       "COM1:"},
      {[&] { files.denyPermission(subject), files.denyPermission(port); }, {both + "permission denied"},
       "Old", "COM9:"},
      {[&] { files.failWithIoError(subject), files.failWithIoError(port); },
       {both + "the disk reported an error"}, "Old", "COM9:"},
      {[&] { files.shortWrites(subject, 2), files.shortWrites(port, 3); }, {both + "the disk is full"},
       "Old", "COM9:"},
      {[&] { files.removeFolder(dir / "programEmail"), files.removeFolder(dir / "program"); },
       {"./programEmail/subject.txt not saved: the folder ./programEmail is missing: create it to save",
        "./program/commport not saved: the folder ./program is missing: create it to save"},
       std::nullopt, std::nullopt},
      {[&] { files.makeFifo(subject), files.makeFifo(port); }, {both + "it is not a plain file"},
       std::nullopt, std::nullopt},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.told.front());
    files.put(subject, "Old");
    files.put(port, "COM9:");
    files.put(dir / "commport", "COM9:");
    const std::string text = "Alarm " + std::to_string(++n);
    const std::string name = "COM" + std::to_string(n) + ":";
    c.fault();
    replaceText(kSubject, text);
    replaceText(kCommPort, name);
    status.messages.clear();
    tick(3);
    EXPECT_EQ(status.messages, c.told);
    EXPECT_EQ(files.content(subject), c.subjectKept);
    EXPECT_EQ(files.content(port), c.portKept);

    files.clearFaults();
    tick();
    EXPECT_EQ(files.content(subject), text);
    EXPECT_EQ(files.content(port), name);
    EXPECT_EQ(status.last(), c.portKept == name ? "saved now: ./programEmail/subject.txt"
                                                : "saved now: ./programEmail/subject.txt, ./program/commport");
  }
}
