#include <cstddef>
#include <string>

#include "halvard/halvard_dlg.h"
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
  for (int n = kFirstPortNumber; n <= kLastPortNumber; ++n) {
    std::string name = "COM" + std::to_string(n) + ":";
    wakeUpPort(mainPort(), name);
    env_.clock.pauseMs(kProbeWaitMs);
    mainPort().readAvailable(kProbeReadBytes);  // whatever the wake-up stirred
    mainPort().write(kProbeRequest);
    env_.clock.pauseMs(kProbeWaitMs);
    bool answered = !mainPort().readAvailable(kProbeReadBytes).empty();
    if (answered) {
      commPort = name;
      commPortChanged = 1;
    } else {
      mainPort().close();
    }
    loadControls();
    if (answered) return;
  }
}
