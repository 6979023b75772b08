#include <cstddef>
#include <string>
#include <vector>

#include "halvard/halvard_dlg.h"
#include "halvard/port_search_text.h"
#include "halvard/port_wake_up.h"

namespace {

constexpr int kFirstPortNumber = 1;
constexpr int kLastPortNumber = 9;
constexpr int kProbeWaitMs = 100;
constexpr std::size_t kProbeReadBytes = 100;
// A register read: the module answers with two hex digits. Only the bytes coming
// back count, so any device that talks back on the port is taken for the module.
constexpr const char* kProbeRequest = "R50";

}  // namespace

void CHalvardDlg::onPortSearchClicked() {
  mainPort().close();
  std::vector<PortSearchStep> steps;
  for (int n = kFirstPortNumber; n <= kLastPortNumber; ++n) {
    std::string name = "COM" + std::to_string(n) + ":";
    wakeUpPort(mainPort(), name);
    PortSearchStep& step = steps.emplace_back();
    step.name = name;
    step.opened = mainPort().isOpen();
    step.device = step.opened ? mainPort().device() : std::string();
    step.problem = mainPort().problem();
    env_.clock.pauseMs(kProbeWaitMs);
    mainPort().readAvailable(kProbeReadBytes);  // whatever the wake-up stirred
    mainPort().write(kProbeRequest);
    env_.clock.pauseMs(kProbeWaitMs);
    step.answered = !mainPort().readAvailable(kProbeReadBytes).empty();
    if (step.answered) {
      commPort = name;
      markPortNameChanged();
    } else {
      mainPort().close();
    }
    loadControls();
    if (step.answered) break;
  }
  status().show(describePortSearch(steps, kWakeUpBaud, commPort2));
}
