#include <string>
#include <vector>

#include "halvard_fixture.h"

using namespace halvard_ids;

namespace {
const int kAllEdits[] = {kServerName, kUserName,   kPassword, kSender,
                         kFromAddress, kToAddress, kSubject,  kWaveFile,
                         kWaveLength,  kCommPort,  kSecondToAddress, kFirstLine};
}  // namespace

TEST_F(HalvardFixture, FirstStartInEmptyFoldersCreatesTheThreeReadFilesEmpty) {
  makeFolders();
  start();

  for (const char* name : {"commport2", "program/commport", "programEmail/programflag.txt"}) {
    ASSERT_TRUE(dir.exists(name)) << name;
    EXPECT_EQ(dir.read(name), "") << name;
  }
  EXPECT_FALSE(dir.exists("commport"));
  EXPECT_FALSE(dir.exists("programEmail/subject.txt"));
  for (int id : kAllEdits) EXPECT_EQ(panel.text(id), "") << id;
  EXPECT_FALSE(panel.checked(kEnableEmail));
  EXPECT_EQ(dlg.enableEmail, 1);
  EXPECT_EQ(dlg.emailSwitch, 0);
  EXPECT_FALSE(mainPort.isOpen());
  EXPECT_FALSE(secondPort.isOpen());
}

TEST_F(HalvardFixture, StartWithoutFoldersCreatesOnlyTheSecondPortFile) {
  start();

  EXPECT_TRUE(dir.exists("commport2"));
  EXPECT_FALSE(dir.exists("program"));
  EXPECT_FALSE(dir.exists("programEmail"));
  EXPECT_FALSE(dir.exists("commport"));
  for (int id : kAllEdits) EXPECT_EQ(panel.text(id), "") << id;
  EXPECT_FALSE(panel.checked(kEnableEmail));
}

TEST_F(HalvardFixture, LoadingNothingMarksNothing) {
  makeFolders();
  dir.write("programEmail/subject.txt", "Alarm");
  dir.write("program/commport", "COM3:");
  start();
  for (int i = 0; i < 3; ++i) tick();

  EXPECT_FALSE(dir.exists("commport"));
  EXPECT_EQ(dir.read("programEmail/subject.txt"), "Alarm");
  EXPECT_EQ(dlg.subjectChanged + dlg.commPortChanged, 0);
}

TEST_F(HalvardFixture, SubjectAndServerNameKeepOnlyPrintableBytes) {
  makeFolders();
  dir.write("programEmail/subject.txt", "Alarm\r\nzone 3");
  dir.write("programEmail/servername.txt", std::string("smtp\x01.ex\x7f\x80\xe9mple\t.org"));
  dir.write("programEmail/sender.txt", "Alarm\r\n");
  dir.write("programEmail/fromaddress.txt", std::string("a\x01\xe9", 3));
  start();

  EXPECT_EQ(panel.text(kSubject), "Alarmzone 3");
  EXPECT_EQ(dlg.subject, "Alarmzone 3");
  EXPECT_EQ(panel.text(kServerName), "smtp.ex\x7fmple.org");
  EXPECT_EQ(panel.text(kSender), "Alarm\r\n");
  EXPECT_EQ(panel.text(kFromAddress), std::string("a\x01\xe9", 3));
}

TEST_F(HalvardFixture, EachFileComesBackUpToItsLimit) {
  makeFolders();
  std::string sixty(60, 'x');
  for (int i = 0; i < 60; ++i) sixty[static_cast<std::size_t>(i)] = static_cast<char>('A' + i % 26);
  dir.write("programEmail/subject.txt", sixty);
  dir.write("programEmail/password.txt", sixty);
  dir.write("programEmail/emailfirstline.txt", std::string(1200, 'f'));
  start();

  EXPECT_EQ(panel.text(kSubject), sixty.substr(0, 50));
  EXPECT_EQ(panel.text(kPassword), sixty.substr(0, 50));
  EXPECT_EQ(panel.text(kFirstLine), std::string(1000, 'f'));
}

TEST_F(HalvardFixture, EveryFileLandsInItsOwnField) {
  makeFolders();
  const std::pair<const char*, int> kFiles[] = {
      {"servername.txt", kServerName}, {"password.txt", kPassword},
      {"sender.txt", kSender},         {"fromaddress.txt", kFromAddress},
      {"toaddress.txt", kToAddress},   {"customertoaddress.txt", kSecondToAddress},
      {"subject.txt", kSubject},       {"emailfirstline.txt", kFirstLine},
      {"musictitle.txt", kWaveFile},   {"musiclength.txt", kWaveLength},
      {"username.txt", kUserName}};
  for (const auto& [file, id] : kFiles)
    dir.write(std::string("programEmail/") + file, "v" + std::to_string(id));
  start();

  for (const auto& [file, id] : kFiles) EXPECT_EQ(panel.text(id), "v" + std::to_string(id)) << file;
}

TEST_F(HalvardFixture, UserNameIsUserTxtFollowedByUsernameTxt) {
  makeFolders();
  dir.write("programEmail/user.txt", "ab");
  dir.write("programEmail/username.txt", "cd");
  start();
  EXPECT_EQ(panel.text(kUserName), "abcd");
}

TEST_F(HalvardFixture, EmailFlagCheckedOnlyByAnE) {
  struct Case {
    const char* content;
    bool checked;
  };
  for (const Case& c : {Case{"E", true}, Case{"ENABLED", true}, Case{"D", false},
                        Case{"e", false}, Case{"", false}}) {
    TempDir other;
    other.makeDir("programEmail");
    other.write("programEmail/programflag.txt", c.content);
    FakeControlPanel otherPanel;
    CHalvardDlg otherDlg(CHalvardDlg::Environment{mainPort, secondPort, clock, otherPanel, status,
                                                   other.path()});
    otherDlg.startUp();
    EXPECT_EQ(otherPanel.checked(kEnableEmail), c.checked) << c.content;
    EXPECT_EQ(otherDlg.emailSwitch, c.checked ? 1 : 0) << c.content;
    EXPECT_EQ(other.read("programEmail/programflag.txt"), c.content);
  }
}

TEST_F(HalvardFixture, MainPortIsWokenAndItsFirstAnswerDiscarded) {
  makeFolders();
  dir.write("program/commport", "COM3:xyz");
  bench.addDevice("COM3:", [](std::string_view, int) { return std::string("?"); });
  start();

  ASSERT_TRUE(mainPort.isOpen());
  EXPECT_EQ(mainPort.openName(), "COM3:");
  EXPECT_EQ(mainPort.baud(), 9600);
  EXPECT_EQ(dlg.commPort, "COM3:");
  EXPECT_EQ(panel.text(kCommPort), "COM3:");
  EXPECT_EQ(portLog(), (std::vector<std::string>{"fail ", "open COM3: 9600", "purge COM3:",
                                                 "write COM3: \r", "write COM3: \r",
                                                 "write COM3: \r", "read COM3: ???"}));
  // The answer is read once, 100 ms after the last CR.
  EXPECT_EQ(clock.pauses(), std::vector<int>{100});
  EXPECT_EQ(bench.events().back().atMs, 100);
  EXPECT_EQ(bench.events()[5].atMs, 0);
}

TEST_F(HalvardFixture, WakeUpDropsOldInputAndDiscardsAtMostHundredBytes) {
  makeFolders();
  dir.write("program/commport", "COM3:");
  bench.addDevice("COM3:", [](std::string_view w, int) {
    return w == "\r" ? std::string(50, 'z') : std::string();
  });
  bench.replyWith("COM3:", "old");
  start();
  // "old" went with the purge; of the 150 bytes the CRs stirred, one read took 100.
  EXPECT_EQ(bench.pendingInput("COM3:"), 50u);
}

TEST_F(HalvardFixture, SecondPortIsOpenedFirstAndNeverRead) {
  makeFolders();
  dir.write("commport2", std::string("COM2:", 5));
  dir.write("program/commport", std::string("COM3\0zz", 7));
  bench.addDevice("COM2:", [](std::string_view, int) { return std::string("x"); });
  bench.addDevice("COM3");
  start();

  ASSERT_TRUE(secondPort.isOpen());
  EXPECT_EQ(secondPort.openName(), "COM2:");
  EXPECT_EQ(secondPort.baud(), 9600);
  EXPECT_EQ(dlg.commPort2, "COM2:");
  EXPECT_EQ(mainPort.openName(), "COM3");  // the name ends at the zero byte
  std::vector<std::string> log = portLog();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 5),
            (std::vector<std::string>{"open COM2: 9600", "purge COM2:", "write COM2: \r",
                                      "write COM2: \r", "write COM2: \r"}));
  EXPECT_EQ(bench.pendingInput("COM2:"), 3u);
  for (int id : kAllEdits) EXPECT_NE(panel.text(id), "COM2:");
}

TEST_F(HalvardFixture, SamePortNamedTwiceIsHeldByTheSecondPort) {
  makeFolders();
  dir.write("commport2", "COM3:");
  dir.write("program/commport", "COM3:");
  bench.addDevice("COM3:");
  start();

  EXPECT_TRUE(secondPort.isOpen());
  EXPECT_FALSE(mainPort.isOpen());
  EXPECT_EQ(panel.text(kCommPort), "COM3:");
  EXPECT_EQ(status.last(),
            "main port COM3: is held as the second port, named in ./commport2: the main port is not open");
}

TEST_F(HalvardFixture, DestroyClosesTheMainPortAndKeepsTheSecond) {
  makeFolders();
  dir.write("commport2", "COM2:");
  dir.write("program/commport", "COM3:");
  bench.addDevice("COM2:");
  bench.addDevice("COM3:");
  start();
  dlg.onDestroy();

  EXPECT_FALSE(mainPort.isOpen());
  EXPECT_FALSE(bench.isHeld("COM3:"));
  EXPECT_TRUE(secondPort.isOpen());
}
