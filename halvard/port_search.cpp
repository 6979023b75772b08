#include <cstddef>
#include <string>

#include "common/settings_file.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_files.h"
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

void CHalvardDlg::onEmailSwitchClicked() {
  emailSwitch = emailSwitch == 0 ? 1 : 0;
  char flag = emailSwitch == 1 ? halvard_files::kEmailOn : halvard_files::kEmailOff;
  enableEmail = emailSwitch == 1 ? 0 : 1;
  // One byte in place: the mailer reads only the first byte, and whatever follows
  // it is not ours to drop.
  settings::writeInPlace(workDir() / halvard_files::kProgramFlag, std::string_view(&flag, 1),
                         settings::OpenMode::kOpenAlways);
  loadControls();
}
