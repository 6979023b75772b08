#include "halvard/halvard_dlg.h"
#include "halvard/halvard_fields.h"

namespace {

constexpr int kMarkSettleMs = 100;

}  // namespace

// Marks the edited field's file for the next save pass, waits, and takes every
// control into its member, so the pass writes what the operator sees.
void CHalvardDlg::onTextChanged(int id) {
  if (exchanging()) return;
  const halvard_fields::Field* field = halvard_fields::byId(id);
  if (field == nullptr || field->changed == nullptr) return;
  if (field->changed == &CHalvardDlg::commPortChanged) {
    markPortNameChanged();
  } else {
    this->*field->changed = 1;
  }
  env_.clock.pauseMs(kMarkSettleMs);
  storeControls();
  fieldChecks_.afterEdit(id, *this, status());
}

void CHalvardDlg::markPortNameChanged() {
  commPortChanged = 1;
  sharedPortChanged = 1;
}
