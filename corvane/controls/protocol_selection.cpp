#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/protocol/module_timing.h"

namespace {

struct ProtocolButton {
  int id;
  char code;  // the reporting format's register 7F value, as a character
};

constexpr ProtocolButton kProtocolButtons[] = {
    {corvane_ids::kContactId, '0'},
    {corvane_ids::kFskF1, '1'},
    {corvane_ids::kPulse4x2, '2'},
    {corvane_ids::kFskF2, '8'},
};

}  // namespace

// The four format buttons are radio buttons each alone in its group, so this handler
// alone keeps exactly one of them selected. The module learns the format at the next
// transmission start; the code is saved by the next normal-mode tick.
void CCorvaneDlg::onProtocolClicked(int id) {
  const ProtocolButton* clicked = corvane_ids::findControl(kProtocolButtons, id);
  if (clicked == nullptr) return;

  storeControls();
  protocolCode = clicked->code;
  formatButtons().showOnly(clicked->code);
  flags.protocolChanged = 1;
  link_.pauseMs(module_timing::kFormatClickSettleMs);
  loadControls();
}
