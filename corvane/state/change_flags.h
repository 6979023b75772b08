#pragma once

// Settings whose edit or click handler only raised a flag; the next poll tick acts on
// each and clears it. Each flag is 0 or 1.
struct ChangeFlags {
  int commportChanged = 0;  // edit 1011 or detection: the tick saves "./commport"
  int protocolChanged = 0;  // a format button: a normal-mode tick saves "./protocol2"
  int timeoutChanged = 0;   // edit 1038: the tick programs register 82 once it holds a pair
  int kbdataChanged = 0;    // edit 1032: keys wait there; a terminal-mode tick sends one

  // Clears a raised flag and says whether it was raised.
  static bool take(int& flag) {
    if (flag != 1) return false;
    flag = 0;
    return true;
  }
};
