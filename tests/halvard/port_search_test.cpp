#include <string>
#include <vector>

#include "halvard_fixture.h"

using namespace halvard_ids;

namespace {
// The module answers a register read with two hex digits and keeps quiet otherwise.
std::string module(std::string_view written, int) { return written == "R50" ? "1A" : ""; }
std::string echo(std::string_view written, int) { return std::string(written); }

std::vector<std::string> triedAndClosed(const std::string& name) {
  return {"open " + name + " 9600", "purge " + name,   "write " + name + " \r", "write " + name + " \r",
          "write " + name + " \r", "write " + name + " R50", "close " + name};
}
}  // namespace

class HalvardPortSearch : public HalvardFixture {
 protected:
  // Nine silent ports; tests put a module or another device on some of them.
  void addPorts() {
    for (int n = 1; n <= 9; ++n) bench.addDevice("COM" + std::to_string(n) + ":");
  }
  void startWith(const std::string& mainName, const std::string& secondName = "") {
    makeFolders();
    dir.write("program/commport", mainName);
    dir.write("commport2", secondName);
    start();
    clearLog();
  }
  // Starts with no port named and clicks "auto detect"; the port the search left open.
  std::string searchFinds() {
    startWith("");
    click(kAutoDetect);
    return mainPort.openName();
  }
  bool tried(const std::string& name) const {
    for (const Event& e : bench.events())
      if (e.device == name && (e.kind == Event::kOpen || e.kind == Event::kOpenFailed)) return true;
    return false;
  }
};

TEST_F(HalvardPortSearch, FindsTheModuleOnComFourAndStops) {
  addPorts();
  bench.addDevice("COM4:", module);
  searchFinds();

  std::vector<std::string> expected;
  for (const char* name : {"COM1:", "COM2:", "COM3:"}) {
    std::vector<std::string> one = triedAndClosed(name);
    expected.insert(expected.end(), one.begin(), one.end());
  }
  for (const char* line : {"open COM4: 9600", "purge COM4:", "write COM4: \r", "write COM4: \r",
                           "write COM4: \r", "write COM4: R50", "read COM4: 1A"})
    expected.push_back(line);
  EXPECT_EQ(portLog(), expected);
  EXPECT_FALSE(tried("COM5:"));

  EXPECT_TRUE(mainPort.isOpen());
  EXPECT_EQ(mainPort.openName(), "COM4:");
  EXPECT_EQ(dlg.commPort, "COM4:");
  EXPECT_EQ(panel.text(kCommPort), "COM4:");
  EXPECT_EQ(dlg.commPortChanged, 1);
  EXPECT_EQ(dir.read("program/commport"), "");  // the search itself writes no file

  tick();
  EXPECT_EQ(dir.read("program/commport"), "COM4:");
  EXPECT_EQ(dir.read("commport"), "COM4:");
}

TEST_F(HalvardPortSearch, EachTryWaitsBeforeAndAfterTheRequest) {
  addPorts();
  bench.addDevice("COM2:", module);
  searchFinds();

  EXPECT_EQ(clock.pauses(), (std::vector<int>{100, 100, 100, 100}));
  std::vector<std::int64_t> requestTimes;
  for (const Event& e : bench.events())
    if (e.kind == Event::kWrite && e.bytes == "R50") requestTimes.push_back(e.atMs);
  const std::int64_t t0 = 100;  // start-up's wait
  EXPECT_EQ(requestTimes, (std::vector<std::int64_t>{t0 + 100, t0 + 300}));
  EXPECT_EQ(bench.events().back().atMs, t0 + 400);  // the answer is read 100 ms later
}

TEST_F(HalvardPortSearch, NoAnswerAnywhereChangesNothing) {
  addPorts();
  bench.addDevice("COM10:", module);  // beyond the nine names tried
  startWith("COM3:");
  ASSERT_TRUE(mainPort.isOpen());
  click(kAutoDetect);

  EXPECT_EQ(portLog().front(), "close COM3:");
  for (int n = 1; n <= 9; ++n) EXPECT_TRUE(tried("COM" + std::to_string(n) + ":")) << n;
  EXPECT_FALSE(tried("COM10:"));
  EXPECT_EQ(clock.totalPausedMs(), 9 * 200);
  EXPECT_FALSE(mainPort.isOpen());
  for (int n = 1; n <= 9; ++n) EXPECT_FALSE(bench.isHeld("COM" + std::to_string(n) + ":"));
  EXPECT_EQ(panel.text(kCommPort), "COM3:");
  EXPECT_EQ(dlg.commPort, "COM3:");

  tick();
  EXPECT_EQ(dlg.commPortChanged, 0);
  EXPECT_EQ(dir.read("program/commport"), "COM3:");
  EXPECT_FALSE(dir.exists("commport"));
}

TEST_F(HalvardPortSearch, ThePortOpenAtStartIsClosedFirstAndCanBeFoundAgain) {
  addPorts();
  bench.addDevice("COM6:", module);
  startWith("COM6:");
  click(kAutoDetect);

  EXPECT_EQ(portLog().front(), "close COM6:");
  EXPECT_EQ(mainPort.openName(), "COM6:");
  EXPECT_EQ(dlg.commPortChanged, 1);
}

TEST_F(HalvardPortSearch, TheSecondPortIsNeverFound) {
  addPorts();
  bench.addDevice("COM2:", echo);
  bench.addDevice("COM5:", module);
  startWith("", "COM2:");
  click(kAutoDetect);

  EXPECT_EQ(mainPort.openName(), "COM5:");
  EXPECT_TRUE(secondPort.isOpen());
  EXPECT_EQ(secondPort.openName(), "COM2:");
  EXPECT_EQ(bench.written("COM2:"), "");  // the search never reached it
}

TEST_F(HalvardPortSearch, AnyDeviceTalkingBackCountsAsTheModule) {
  addPorts();
  bench.addDevice("COM2:", echo);
  bench.addDevice("COM4:", module);
  EXPECT_EQ(searchFinds(), "COM2:");
}

TEST_F(HalvardPortSearch, AnswerToTheWakeUpAloneDoesNotCount) {
  addPorts();
  bench.addDevice("COM1:", [](std::string_view w, int) {
    return w == "\r" ? std::string("\r\n") : std::string();
  });
  bench.addDevice("COM3:", module);
  EXPECT_EQ(searchFinds(), "COM3:");
}

TEST_F(HalvardPortSearch, PortsThatRefuseToOpenOrNeverTakeTheRequestArePassedOver) {
  addPorts();
  bench.addDevice("COM1:", module);
  bench.refusePermission("COM1:", "dialout");
  bench.addDevice("COM2:", module);
  bench.refuseBusy("COM2:", 4242);
  bench.addDevice("COM3:", module);
  bench.loseWrites("COM3:", 500);  // a peer that stopped reading
  bench.addDevice("COM4:", module);
  searchFinds();

  std::vector<std::string> log = portLog();
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 2),
            (std::vector<std::string>{"fail COM1:", "fail COM2:"}));
  EXPECT_EQ(bench.written("COM3:"), "");
  EXPECT_FALSE(bench.isHeld("COM3:"));
  EXPECT_EQ(mainPort.openName(), "COM4:");
  EXPECT_EQ(panel.text(kCommPort), "COM4:");
}
