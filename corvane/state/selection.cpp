#include "corvane/state/selection.h"

bool FormatButtons::showOnly(char code) {
  struct Button {
    char code;
    int& field;
  };
  Button buttons[] = {{'0', contactId_}, {'1', fskF1_}, {'2', pulse4x2_}, {'8', fskF2_}};
  bool known = false;
  for (const Button& b : buttons) known = known || b.code == code;
  if (!known) return false;
  for (Button& b : buttons) b.field = selectionShowing(b.code == code);
  return true;
}

void FormatButtons::showStored(char code) {
  if (showOnly(code)) return;
  showOnly('0');
  fskF2_ = -1;  // the start value: an unknown code never showed F2 either way
}
