#include <string_view>

#include "common/settings_file.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_files.h"

void CHalvardDlg::onEmailSwitchClicked() {
  emailSwitch = emailSwitch == 0 ? 1 : 0;
  enableEmail = emailSwitch == 1 ? 0 : 1;
  // Stored at once; when that fails the switch still shows the new state, and the save
  // pass tries again at each tick until the file holds it.
  emailSwitchChanged = 1;
  saveFile(emailSwitchChanged, halvard_files::kProgramFlag, writeEmailSwitch());
  saveReport_.tell(status());
  loadControls();
}

WriteResult CHalvardDlg::writeEmailSwitch() {
  char flag = emailSwitch == 1 ? halvard_files::kEmailOn : halvard_files::kEmailOff;
  // One byte in place: the mailer reads only the first byte, and whatever follows
  // it is not ours to drop.
  return settings::writeInPlace(workDir() / halvard_files::kProgramFlag, std::string_view(&flag, 1),
                                settings::OpenMode::kOpenAlways);
}
