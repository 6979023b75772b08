#include "halvard/halvard_dlg.h"

#include "halvard/control_ids.h"
#include "halvard/halvard_fields.h"

CHalvardDlg::CHalvardDlg(const Environment& env)
    : env_(env), files_(env_.files, env_.workDir), exchange_(env_.panel) {
  // commPort2 has no control and is not exchanged.
  for (const halvard_fields::Field& field : halvard_fields::all()) {
    if (field.text != nullptr) exchange_.bindText(field.id, this->*field.text);
    if (field.selection != nullptr) exchange_.bindSelection(field.id, this->*field.selection);
  }
}

void CHalvardDlg::onClicked(int id) {
  if (exchanging()) return;
  switch (id) {
    case halvard_ids::kAutoDetect:
      onPortSearchClicked();
      break;
    case halvard_ids::kEnableEmail:
      onEmailSwitchClicked();
      break;
    case halvard_ids::kSendTestEmail:
      onTestEmailClicked();
      break;
    default:
      break;
  }
}

void CHalvardDlg::onTimer() { savePass(); }

void CHalvardDlg::onDestroy() {
  // The second port stays held until the process ends, so the search of another
  // Halvard started meanwhile cannot take it for the module.
  mainPort().close();
}
