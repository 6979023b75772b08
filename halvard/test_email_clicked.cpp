#include "halvard/halvard_dlg.h"

TestEmailSettings CHalvardDlg::testEmailSettings() const {
  return TestEmailSettings{serverName, userName,        password, sender,   fromAddress,
                           toAddress,  secondToAddress, subject,  firstLine};
}

void CHalvardDlg::onTestEmailClicked() {
  if (testEmail_ == nullptr) return;
  // The edits take their text into the fields only after their settle wait: take the
  // controls now, so the test uses what the operator sees.
  storeControls();
  testEmail_->start(testEmailSettings());
}
