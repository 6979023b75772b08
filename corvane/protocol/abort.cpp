#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_map.h"

// "abort (on-hook, hang-up)": beeps, then hangs the module up. The run state is left
// as it is, so a report that still comes advances a run that had not ended.
void CCorvaneDlg::onAbortClicked() {
  env_.beep.beep();
  link_.sendByte(frames::kCr);
  link_.sendByte(register_map::kHangUp);
  loadControls();
}
