#include "corvane/corvane_dlg.h"

// Placeholder until this group of handlers is built.
void CCorvaneDlg::onTerminalEnableClicked() {}
void CCorvaneDlg::onKbdataChanged() {}
void CCorvaneDlg::terminalStep() {}
