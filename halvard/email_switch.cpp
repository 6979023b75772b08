#include <string_view>

#include "common/settings_file.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_files.h"

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
