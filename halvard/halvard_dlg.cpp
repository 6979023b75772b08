#include "halvard/halvard_dlg.h"

#include "halvard/control_ids.h"

CHalvardDlg::CHalvardDlg(const Environment& env) : env_(env), exchange_(env_.panel) {
  // The exchange visits the fields in the order they are declared; commPort2 has no
  // control. No edit has a text limit.
  exchange_.bindText(halvard_ids::kUserName, userName);
  exchange_.bindText(halvard_ids::kPassword, password);
  exchange_.bindText(halvard_ids::kWaveLength, waveLength);
  exchange_.bindText(halvard_ids::kWaveFile, waveFile);
  exchange_.bindText(halvard_ids::kToAddress, toAddress);
  exchange_.bindText(halvard_ids::kSubject, subject);
  exchange_.bindText(halvard_ids::kServerName, serverName);
  exchange_.bindText(halvard_ids::kSender, sender);
  exchange_.bindText(halvard_ids::kFromAddress, fromAddress);
  exchange_.bindText(halvard_ids::kCommPort, commPort);
  exchange_.bindSelection(halvard_ids::kEnableEmail, enableEmail);
  exchange_.bindText(halvard_ids::kSecondToAddress, secondToAddress);
  exchange_.bindText(halvard_ids::kFirstLine, firstLine);
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
    default:
      break;
  }
}

void CHalvardDlg::onDestroy() {
  // The second port stays held until the process ends, so the search of another
  // Halvard started meanwhile cannot take it for the module.
  mainPort().close();
}
