#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"

namespace {

constexpr int kSelectionPauseMs = 200;

struct ProtocolButton {
  int id;
  char code;  // the reporting format's register 7F value, as a character
  int CCorvaneDlg::*selected;
};

constexpr ProtocolButton kProtocolButtons[] = {
    {corvane_ids::kContactId, '0', &CCorvaneDlg::contactIdSelected},
    {corvane_ids::kFskF1, '1', &CCorvaneDlg::fskF1Selected},
    {corvane_ids::kPulse4x2, '2', &CCorvaneDlg::pulse4x2Selected},
    {corvane_ids::kFskF2, '8', &CCorvaneDlg::fskF2Selected},
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
  for (const ProtocolButton& button : kProtocolButtons)
    this->*button.selected = &button == clicked ? 0 : 1;
  flags.protocolChanged = 1;
  link_.pauseMs(kSelectionPauseMs);
  loadControls();
}
