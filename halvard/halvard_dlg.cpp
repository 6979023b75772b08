#include "halvard/halvard_dlg.h"

// Placeholder until Halvard's logic is built.
CHalvardDlg::CHalvardDlg(const Environment& env) : env_(env), exchange_(env_.panel) {}
void CHalvardDlg::startUp() {}
void CHalvardDlg::onTextChanged(int) {}
void CHalvardDlg::onClicked(int) {}
void CHalvardDlg::onTimer() {}
void CHalvardDlg::onDestroy() {}
void CHalvardDlg::onPortSearchClicked() {}
void CHalvardDlg::onEmailSwitchClicked() {}
