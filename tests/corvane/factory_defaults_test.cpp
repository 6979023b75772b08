#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "corvane_fixture.h"

using namespace corvane_ids;
using Strings = std::vector<std::string>;

class FactoryDefaultsTest : public CorvaneFixture {
 protected:
  void SetUp() override { openModule(); }

  static Strings expectedWrites() {
    Strings w{"\r", "W8755", "\r", "X", "\r", "\r"};
    for (char c : std::string("S123418313101015")) w.emplace_back(1, c);
    for (const char* s : {"\r", "D2", "\r", "W7F00"}) w.emplace_back(s);
    return w;
  }
  static std::vector<int> expectedPauses() {
    std::vector<int> p{20, 5000};
    p.insert(p.end(), 16, 20);
    for (int ms : {50, 10, 20}) p.push_back(ms);
    return p;
  }

  // Every file of the working directory with its content.
  std::set<std::string> filesInWorkDir() const {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      files.insert(name + "=" + dir.read(name));
    }
    return files;
  }
};

TEST_F(FactoryDefaultsTest, SendsTheFixedSequenceWithItsPauses) {
  click(kFactoryDefault);
  EXPECT_EQ(sentWrites(), expectedWrites());
  EXPECT_EQ(clock.pauses(), expectedPauses());
  EXPECT_EQ(clock.totalPausedMs(), 5420);

  // The module gets five seconds after X before the first CR of the S frame.
  std::vector<std::int64_t> at;
  for (const auto& e : bench.events())
    if (e.kind == FakeSerialBench::Event::kWrite) at.push_back(e.atMs);
  EXPECT_EQ(at[3], 20);    // X
  EXPECT_EQ(at[4], 5020);  // CR
  EXPECT_EQ(at[6], 5020);  // S
  EXPECT_EQ(at[7], 5040);  // 1
}

TEST_F(FactoryDefaultsTest, SecondClickSendsExactlyTheSameBytes) {
  click(kFactoryDefault);
  const std::string first = sentBytes();
  clearWire();
  click(kFactoryDefault);
  EXPECT_EQ(sentBytes(), first);
  EXPECT_EQ(sentWrites(), expectedWrites());
}

TEST_F(FactoryDefaultsTest, DisplayHoldsOnlyTheNoticeAndNothingElseChanges) {
  dlg.display.receivedText = "earlier\r\ntext";
  dlg.shadows.shadowAB = 0x64;
  dlg.shadows.shadowAC = 0x02;
  dlg.shadows.shadowB1 = 0x04;
  dlg.protocolCode = '8';
  dlg.fskF2Selected = 0;
  dlg.contactIdSelected = 1;
  dlg.telephoneNumber = "5551234";
  dlg.dialerTimeoutText = "0A";
  dir.write("protocol2", "8");
  dir.write("alarmmessage", "1234");
  const auto filesBefore = filesInWorkDir();

  click(kFactoryDefault);

  EXPECT_EQ(panel.text(kReceived), "default value loaded");
  EXPECT_EQ(dlg.shadows.shadowAB, 0x64);
  EXPECT_EQ(dlg.shadows.shadowAC, 0x02);
  EXPECT_EQ(dlg.shadows.shadowB1, 0x04);
  EXPECT_EQ(dlg.protocolCode, '8');
  EXPECT_TRUE(panel.checked(kFskF2));
  EXPECT_FALSE(panel.checked(kContactId));
  EXPECT_EQ(panel.text(kTelephoneNumber), "5551234");
  EXPECT_EQ(panel.text(kDialerTimeout), "0A");
  EXPECT_EQ(filesInWorkDir(), filesBefore);
  // Contact-ID goes to the module even though SIA FSK F2 stays selected here.
  EXPECT_NE(sentBytes().find("W7F00"), std::string::npos);
}
