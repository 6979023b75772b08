#include "corvane/controls/factory_defaults.h"

#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/protocol/register_map.h"

// The sequence as the module expects it, in one place: CR, W8755, CR, X, 5 s; CR, CR,
// the default S frame a character at a time; CR, D2; CR, W7F00.
void FactoryDefaults::load() {
  namespace rm = register_map;
  namespace mt = module_timing;
  ModuleLink& line = link_;
  line.sendByte(frames::kCr);
  line.sendBytes(rm::kResetKeyFrame);
  line.pauseMs(mt::kAfterResetKeyMs);
  line.sendByte(frames::kCr);
  line.sendByte(rm::kLoadDefaults);
  line.pauseMs(mt::kDefaultsReloadMs);

  line.sendByte(frames::kCr);
  line.sendByte(frames::kCr);
  // The module takes the S frame one character at a time.
  for (char c : rm::kDefaultMessageFrame) {
    line.sendByte(c);
    line.pauseMs(mt::kDefaultMessageCharMs);
  }
  line.sendByte(frames::kCr);
  line.sendBytes(rm::kDefaultNumberFrame);
  line.pauseMs(mt::kAfterDefaultNumberMs);
  line.sendByte(frames::kCr);
  line.pauseMs(mt::kBeforeDefaultFormatMs);
  line.sendBytes(rm::kWriteContactIdFormat);
  line.pauseMs(mt::kAfterDefaultFormatMs);

  display_.receivedText = "default value loaded";
}
