#include "corvane/corvane_dlg.h"

// The eight alarm message edits: every change rewrites the message's file whole, so
// the file always holds what the field shows, whatever its length.
void CCorvaneDlg::onAlarmMessageChanged(int n) {
  if (n < 1 || n > 8) return;
  storeControls();
  saveAlarmMessageFile(n);
}
