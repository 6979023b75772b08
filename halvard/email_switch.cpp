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

WriteResult CHalvardDlg::writeEmailSwitch() { return files_.saveEmailSwitch(emailSwitch == 1); }
