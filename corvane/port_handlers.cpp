#include "corvane/corvane_dlg.h"

// Placeholder until this group of handlers is built.
void CCorvaneDlg::onDetectPortClicked() {}
void CCorvaneDlg::onCommportChanged() {}
void CCorvaneDlg::onTelephoneNumberChanged() {}
