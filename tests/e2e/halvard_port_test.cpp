#include <gtest/gtest.h>

#include <QAbstractButton>
#include <memory>
#include <string>
#include <vector>

#include "common/status_line.h"
#include "common/steady_clock.h"
#include "common/stderr_status_line.h"
#include "common/termios_serial_port.h"
#include "e2e/corvane_session.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/recording_status_line.h"
#include "fakes/temp_dir.h"
#include "halvard/control_ids.h"
#include "halvard/view/halvard_window.h"

namespace {

using Frames = std::vector<std::string>;

// Halvard's real window and logic in this process on real termios ports.
class HalvardSession {
 public:
  explicit HalvardSession(const std::filesystem::path& workDir)
      : mainPort_(workDir), secondPort_(workDir) {
    status_.add(&stderr_);
    status_.add(&told_);
    window_ = std::make_unique<HalvardWindow>(mainPort_, secondPort_, clock_, status_, workDir);
  }
  HalvardWindow& window() { return *window_; }
  const RecordingStatusLine& told() const { return told_; }
  void click(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(window_->control(id))) button->click();
  }

 private:
  TermiosSerialPort mainPort_;
  TermiosSerialPort secondPort_;
  SteadyClock clock_;
  StderrStatusLine stderr_{"halvard"};
  RecordingStatusLine told_;
  StatusFanOut status_;
  std::unique_ptr<HalvardWindow> window_;
};

TEST(HalvardPortSearch, FindsTheModuleOnCom4AndCorvaneOpensItOnceHalvardHasEnded) {
  TempDir dir;
  dir.makeDir("program");
  dir.makeDir("programEmail");
  for (const char* name : {"COM1", "COM2", "COM3"}) linkNowhere(dir.path(), name);
  SimProcess sim(dir.path(), "COM4");
  ASSERT_TRUE(sim.ready());

  auto halvard = std::make_unique<HalvardSession>(dir.path());
  halvard->click(halvard_ids::kAutoDetect);
  EXPECT_EQ(halvard->window().text(halvard_ids::kCommPort), "COM4:");
  EXPECT_EQ(sim.frames(), (Frames{"<CR>", "<CR>", "<CR>", "R50"}));
  const std::string said = halvard->told().last();
  EXPECT_EQ(said.rfind("port search at 9600 baud: COM4: answered, ", 0), 0u) << said;
  EXPECT_NE(said.find("is the main port now (COM1: to COM3: not present)"), std::string::npos) << said;
  ASSERT_TRUE(waitUntil([&] { return dir.read("commport") == "COM4:"; }, 5000));
  EXPECT_EQ(dir.read("program/commport"), "COM4:");

  {
    // While Halvard holds the port, Corvane cannot open it: no frame reaches the module.
    CorvaneSession corvane(dir.path());
    EXPECT_EQ(corvane.display().find("com: "), std::string::npos) << corvane.display();
    EXPECT_EQ(sim.frames().size(), 4u);
  }

  halvard.reset();
  ASSERT_TRUE(sim.waitForText("peer", "closed", 5000));
  CorvaneSession corvane(dir.path());
  EXPECT_EQ(corvane.display().rfind("com: 4", 0), 0u) << corvane.display();
  EXPECT_EQ(tail(sim.frames(), 4),
            (Frames{"<CR>", "<CR>", "<CR>", "R80", "W8055", "R80", "Q82", "Q83", "QAC", "QAB",
                    "RB1"}));
}

}  // namespace
