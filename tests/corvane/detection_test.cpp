#include "corvane_fixture.h"
#include "fake_module.h"

using namespace corvane_ids;

namespace {

using Writes = std::vector<std::string>;

const Writes kTryWrites = {"\r", "\r", "\r", "R50", "W5055", "R50"};
const std::vector<int> kSilentTryPauses =
    concat({{100}, silentQueryPauses(), {100}, silentQueryPauses(), {100}});
const std::vector<int> kFoundTryPauses =
    concat({{100}, fullQueryPauses(), {100}, fullQueryPauses(), {100}});

class DetectionTest : public CorvaneFixture {
 protected:
  // The port as start-up left it: open on COM1: at 9600 baud.
  void startOnCom1() {
    bench.addDevice("COM1:");
    port.open("COM1:", 9600);
    bench.clearEvents();
  }

  FakeModule module{115200, {}, {}};
};

TEST_F(DetectionTest, FindsTheModuleOnCom3AfterTryingCom1AndCom2) {
  startOnCom1();
  bench.addDevice("COM2:");
  bench.addDevice("COM3:", module.responder());
  click(kDetectPort);

  EXPECT_EQ(portEvents(bench), (Writes{"close COM1:", "open COM1: 115200", "close COM1:",
                                       "open COM2: 115200", "close COM2:", "open COM3: 115200"}));
  Writes threeTries;
  for (int i = 0; i < 3; ++i) threeTries.insert(threeTries.end(), kTryWrites.begin(), kTryWrites.end());
  EXPECT_EQ(bench.writes(), threeTries);
  EXPECT_EQ(bench.written("COM3:"), "\r\r\rR50W5055R50");
  EXPECT_EQ(clock.pauses(), concat({kSilentTryPauses, kSilentTryPauses, kFoundTryPauses}));

  EXPECT_EQ(port.openName(), "COM3:");
  EXPECT_EQ(port.baud(), 115200);
  EXPECT_EQ(panel.text(kCommport), "COM3:");
  EXPECT_EQ(dlg.flags.commportChanged, 1);
  EXPECT_EQ(panel.text(kReceived), "communication port: 3  Please exit and reenter");
  EXPECT_EQ(panel.text(kCommport), "COM3:");
  // One load at the end: the operator never sees the intermediate "not detected".
  EXPECT_EQ(panel.setTextCount(kReceived), 1);
}

TEST_F(DetectionTest, NoModuleAnywhereEndsWithNoPortOpen) {
  startOnCom1();
  bench.addDevice("COM2:");
  bench.addDevice("COM5:", [](std::string_view frame, int baud) {
    // A module that only talks at 9600 baud, which detection never tries.
    FakeModule slow;
    return slow.answer(frame, baud);
  });
  dlg.commportText = "COM1:";
  click(kDetectPort);

  Writes expected = {"close COM1:", "open COM1: 115200", "close COM1:", "open COM2: 115200",
                     "close COM2:", "fail COM3:", "fail COM4:", "open COM5: 115200",
                     "close COM5:", "fail COM6:", "fail COM7:", "fail COM8:", "fail COM9:"};
  EXPECT_EQ(portEvents(bench), expected);
  std::vector<int> nineTries;
  for (int i = 0; i < 9; ++i) nineTries = concat({nineTries, kSilentTryPauses});
  EXPECT_EQ(clock.pauses(), nineTries);
  EXPECT_EQ(clock.nowMs(), 9 * 480);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(panel.text(kReceived), "commport not detected");
  EXPECT_EQ(panel.text(kCommport), "COM1:");
  EXPECT_EQ(dlg.flags.commportChanged, 0);
}

TEST_F(DetectionTest, ReplacesTheWholeDisplay) {
  bench.addDevice("COM9:", module.responder());
  dlg.display.receivedText = "com: 1\r\n1.0001";
  click(kDetectPort);
  EXPECT_EQ(panel.text(kReceived), "communication port: 9  Please exit and reenter");
}

TEST_F(DetectionTest, TypingAPortNameRaisesTheFlagAndOpensNothing) {
  startOnCom1();
  typeInto(kCommport, "COM4:");
  EXPECT_EQ(panel.text(kCommport), "COM4:");
  EXPECT_EQ(dlg.flags.commportChanged, 1);
  EXPECT_EQ(clock.pauses(), std::vector<int>(5, 200));
  EXPECT_TRUE(bench.events().empty());
  EXPECT_EQ(port.openName(), "COM1:");
  EXPECT_FALSE(dir.exists("commport"));  // the poll tick saves it
}

}  // namespace
