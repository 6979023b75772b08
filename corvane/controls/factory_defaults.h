#pragma once

#include "corvane/module_link.h"
#include "corvane/state/received_display.h"

// "load factory default": one fixed sequence of frames and pauses, the module's own
// procedure for reloading its defaults. It reads no answer and leaves the program's
// own state (register copies, protocol code, fields, files) as it was, so the switches
// keep showing what the program last set. Both parts must outlive the role.
class FactoryDefaults {
 public:
  FactoryDefaults(ModuleLink& link, ReceivedDisplay& display) : link_(link), display_(display) {}

  // The whole sequence (about 5.4 s), then the display holds only the notice. The
  // dialog shows its fields afterwards.
  void load();

 private:
  ModuleLink& link_;
  ReceivedDisplay& display_;
};
