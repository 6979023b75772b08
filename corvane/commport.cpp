#include <string>

#include "corvane/corvane_dlg.h"

// The commport edit (1011) and its button "auto detect commport" (1012). Neither
// touches the open port's settings: a new name is saved by the next tick and used at
// the next start.

namespace {

constexpr int kCommportEditPauseMs = 200;

}  // namespace

void CCorvaneDlg::onDetectPortClicked() {
  portDetection_.detect();
  link_.takeWriteCounts();
  loadControls();
}

void CCorvaneDlg::onCommportChanged() {
  flags.commportChanged = 1;
  link_.pauseMs(kCommportEditPauseMs);
  storeControls();
}
