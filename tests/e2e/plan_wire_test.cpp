#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/corvane_session.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// What went over the wire, as the module's log shows it: each frame the PC sent and each
// line the module answered, in order, up to and including the delivery report.
std::vector<std::string> wireUntilDelivered(const SimProcess& sim) {
  std::vector<std::string> wire;
  for (const zmsim::LogLine& line : sim.log()) {
    if (line.kind != "rx" && line.kind != "tx") continue;
    wire.push_back(line.kind + " " + line.text);
    if (line.kind == "tx" && line.text.find("MESSAGE SUCCESS") != std::string::npos) break;
  }
  return wire;
}

// Two folders with the same settings files, one module each.
void prepare(TempDir& dir) {
  dir.write("commport", "COM1:");
  dir.write("telephonenumber", "5551234");
  dir.write("protocol2", "0");
  dir.write("alarmmessage", "123418113101015");
}

// A plan's alarm sends, from the start-up to the delivery, exactly what the operator's
// click on "transmit" sends in the window. ZM_KEEP_WIRE_LOGS=DIR keeps both module logs
// (plan.log, window.log) for bench/plan_wire.sh, which compares their pauses.
TEST(PlanWire, APlansAlarmSendsWhatTheWindowsClickSends) {
  TempDir planDir;
  TempDir windowDir;
  prepare(planDir);
  prepare(windowDir);
  SimProcess planSim{planDir.path(), "COM1", {"--call-ms", "300"}};
  SimProcess windowSim{windowDir.path(), "COM1", {"--call-ms", "300"}};
  ASSERT_TRUE(planSim.ready() && windowSim.ready());

  planDir.write("plan.toml",
                "port = \"COM1:\"\n[[step]]\ndo = \"alarm\"\nformat = \"contact-id\"\n"
                "message = \"123418113101015\"\nwithin = 10\n");
  ChildProcess run(fs::path(ZM_BINARY_DIR) / "corvane", {"--run", "plan.toml"}, planDir.path(), {},
                   planDir.path() / "corvane.out");
  ASSERT_TRUE(waitUntil([&] { return !run.running(); }, 30000));
  EXPECT_EQ(run.stop(), 0) << planDir.read("corvane.out");

  {
    CorvaneSession corvane(windowDir.path());
    corvane.click(corvane_ids::kTransmit);
    ASSERT_TRUE(windowSim.waitForText("tx", "MESSAGE SUCCESS<CR><LF>", 20000)) << windowSim.joined("rx");
  }

  const std::vector<std::string> planWire = wireUntilDelivered(planSim);
  EXPECT_EQ(planWire, wireUntilDelivered(windowSim));
  EXPECT_NE(std::find(planWire.begin(), planWire.end(), "rx G"), planWire.end());

  if (const char* keep = std::getenv("ZM_KEEP_WIRE_LOGS")) {
    fs::copy_file(planDir / "zmsim-COM1.log", fs::path(keep) / "plan.log", fs::copy_options::overwrite_existing);
    fs::copy_file(windowDir / "zmsim-COM1.log", fs::path(keep) / "window.log", fs::copy_options::overwrite_existing);
  }
}

}  // namespace
