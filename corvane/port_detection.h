#pragma once

#include <string>

#include "corvane/module_link.h"
#include "corvane/port_watch.h"
#include "corvane/session_notes.h"
#include "corvane/state/received_display.h"

// "auto detect commport": tries COM1: to COM9: at 115200 baud with the link check on
// register 50 and keeps the first port whose module answers open. The display shows
// only the outcome; the status line says what each name did. A found name is saved by
// the next tick and used at the next start. Everything passed must outlive the role.
class PortDetection {
 public:
  PortDetection(ModuleLink& link, PortWatch& portWatch, ReceivedDisplay& display,
                std::string& commportText, int& commportChanged, SessionNotes& notes)
      : link_(link),
        portWatch_(portWatch),
        display_(display),
        commportText_(commportText),
        commportChanged_(commportChanged),
        notes_(notes) {}

  // The whole search; the dialog shows its fields afterwards.
  void detect();

 private:
  ModuleLink& link_;
  PortWatch& portWatch_;
  ReceivedDisplay& display_;
  std::string& commportText_;
  int& commportChanged_;
  SessionNotes& notes_;
};
