#include "corvane/corvane_dlg.h"

// Placeholder until this group of handlers is built.
void CCorvaneDlg::onAbSwitchClicked(int) {}
void CCorvaneDlg::onReduce6dbClicked() {}
void CCorvaneDlg::onToneClicked() {}
void CCorvaneDlg::onDialerTimeoutChanged() {}
void CCorvaneDlg::onKissoffTimeChanged() {}
void CCorvaneDlg::registerTimeoutStep() {}
