#pragma once

#include "corvane/protocol/register_map.h"

// The program's copies of the module's registers AB, AC and B1 (0 to 255 each). Start-up
// fills them from the module; afterwards they are never read back, only edited here
// bit by bit and written whole to the module, so a click changes one bit. A plain value.
struct RegisterShadows {
  int shadowAB = 0;
  int shadowAC = 0;
  int shadowB1 = 0;

  // An option switch: flips its bit of AB.
  void flipOptionBit(int bit) { shadowAB = (shadowAB ^ bit) & 0xFF; }
  // The 6 dB switch: flips the level bit of AC and always leaves the run bit clear.
  void flipFullLevel() {
    namespace rm = register_map;
    shadowAC =
        (shadowAC ^ (rm::kControlFullLevelBit | rm::kControlRunBit)) & ~rm::kControlRunBit & 0xFF;
  }
  // One alarm, or a multiple run.
  void clearRunBit() { shadowAC &= ~register_map::kControlRunBit & 0xFF; }
  void setRunBit() { shadowAC |= register_map::kControlRunBit; }
  // The tone switch: 1400 Hz and 2300 Hz.
  void flipTone() { shadowB1 = (shadowB1 ^ register_map::kToneHighBit) & 0xFF; }
};
