#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "e2e/corvane_session.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

using namespace corvane_ids;

bool received(const SimProcess& sim, const std::string& frame) {
  for (const std::string& f : sim.frames()) {
    if (f == frame) return true;
  }
  return false;
}

class CorvaneOptions : public ::testing::Test {
 protected:
  CorvaneOptions() { dir.write("commport", "COM1:"); }

  void selectAllAndType(CorvaneSession& corvane, int id, const char* keys) {
    QTest::keyClick(corvane.window().control(id), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(corvane.window().control(id), keys);
  }

  TempDir dir;
  SimProcess sim{dir.path(), "COM1"};
};

TEST_F(CorvaneOptions, EachSwitchAndEditChangesTheModulesRegister) {
  ASSERT_TRUE(sim.ready());
  auto session = std::make_unique<CorvaneSession>(dir.path());
  CorvaneSession& corvane = *session;
  std::map<std::string, std::string> before = sim.dump();
  EXPECT_EQ(before["stored AB"], "20");

  for (int id : {kAudio, kStatus, kSia110, kDebug, kReduce6db, kTone1400}) corvane.click(id);
  selectAllAndType(corvane, kDialerTimeout, "1E");
  selectAllAndType(corvane, kKissoffTime, "0C");
  ASSERT_TRUE(waitUntil([&] { return received(sim, "M821E"); }, 5000));

  std::map<std::string, std::string> after = sim.dump();
  EXPECT_EQ(after["stored AB"], "C4");  // audio off, status off, SIA 110 on, debug on
  EXPECT_EQ(after["stored AC"], "00");  // -6 dB, bit 1 cleared
  EXPECT_EQ(after["working AC"], "00");
  EXPECT_EQ(after["stored B1"], "00");  // 2300 Hz
  EXPECT_EQ(after["working B1"], "00");
  EXPECT_EQ(after["stored 82"], "1E");
  EXPECT_EQ(after["stored 83"], "0C");
  EXPECT_TRUE(received(sim, "W3D01"));
  EXPECT_TRUE(received(sim, "W3D00"));

  EXPECT_EQ(corvane.switchesShown(), "sia110 debug -6db");

  // A restart (once the port is free again) reads back what the switches wrote.
  session.reset();
  CorvaneSession restarted(dir.path());
  EXPECT_EQ(restarted.logic().shadows.shadowAB, 0xC4);
  EXPECT_EQ(restarted.text(kDialerTimeout), "1E");
  EXPECT_EQ(restarted.text(kKissoffTime), "0C");
}

TEST_F(CorvaneOptions, FactoryDefaultsRestoreTheModulesDefaults) {
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  corvane.click(kAudio);
  corvane.click(kTone1400);
  selectAllAndType(corvane, kDialerTimeout, "3C");
  ASSERT_TRUE(waitUntil([&] { return received(sim, "M823C"); }, 5000));
  EXPECT_EQ(sim.dump()["stored AB"], "A0");

  corvane.click(kFactoryDefault);
  EXPECT_EQ(corvane.logic().display.receivedText, "default value loaded");
  ASSERT_TRUE(waitUntil([&] { return corvane.display().find("DEFAULTS RESTORED") != std::string::npos; }, 5000))
      << corvane.display();

  std::map<std::string, std::string> after = sim.dump();
  EXPECT_EQ(after["stored AB"], "20");
  EXPECT_EQ(after["stored B1"], "04");
  EXPECT_EQ(after["stored 82"], "0A");
  EXPECT_EQ(after["stored AC"], "80");
  EXPECT_EQ(after["working 7F"], "00");
  EXPECT_EQ(after["working 87"], "00");
  EXPECT_EQ(after["number"], "2");
  EXPECT_EQ(after["message"], "123418313101015");
}

TEST_F(CorvaneOptions, TerminalModeShowsWhatTheModuleSendsAsItCame) {
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  corvane.click(kTerminalEnable);
  ASSERT_EQ(corvane.logic().terminalSelected, 0);

  // One key per tick, as an operator types a query to the module.
  for (const char* key : {"Q", "8", "2"}) {
    corvane.type(kKbdata, key);
    ASSERT_TRUE(waitUntil([&] { return corvane.logic().flags.kbdataChanged == 0; }, 5000));
  }
  ASSERT_TRUE(waitUntil([&] { return corvane.logic().display.receivedText.find("0A") != std::string::npos; }, 5000));
  // The key echoes and the module's answer: a query typed a key a tick is answered as
  // one sent at once.
  EXPECT_NE(corvane.logic().display.receivedText.find("Q820A"), std::string::npos)
      << corvane.logic().display.receivedText;
  EXPECT_EQ(sim.frames().back(), "Q82");
  EXPECT_EQ(corvane.text(kKbdata), "");
}

}  // namespace
