#include "corvane/corvane_dlg.h"

// Placeholder until this group of handlers is built.
void CCorvaneDlg::startUp() {}
void CCorvaneDlg::linkTestAtStartUp() {}
void CCorvaneDlg::readModuleSettings() {}
void CCorvaneDlg::applyProtocolAtStartUp() {}
void CCorvaneDlg::appendTimingLine() {}
