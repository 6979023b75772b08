#pragma once

#include <string_view>

#include "common/data_exchange.h"
#include "corvane/corvane_files.h"
#include "corvane/module_link.h"
#include "corvane/protocol/transmission.h"
#include "corvane/session_notes.h"
#include "corvane/state/delivery_watch.h"
#include "corvane/state/multiple_run_state.h"
#include "corvane/state/received_display.h"
#include "corvane/state/register_shadows.h"

// "go for multiple alarm messages...": a run of up to eight alarms in one call.
// Message 1 goes from its edit at the click; the others from ./alarmmessage2 to
// ./alarmmessage8, each from the poll tick once the module has reported the previous
// one delivered. The run and delivery state are the dialog's (it shows them to the
// test-plan runner); everything passed must outlive the role.
class MultipleRun {
 public:
  struct Parts {
    ModuleLink& link;
    ReceivedDisplay& display;
    RegisterShadows& shadows;
    MultipleRunState& run;
    DeliveryWatch& delivery;
    CorvaneFiles& files;
    SessionNotes& notes;
    DataExchange& exchange;
  };
  MultipleRun(Parts parts, AlarmFields fields) : p_(parts), fields_(fields) {}

  // The click: register AC with the run bit set, the format, the number and message 1,
  // then G. The dialog shows its fields afterwards.
  void start();
  // From the poll tick, when a report has been acted on while a run is under way: the
  // next message file's text and 'B', or the hang-up when the run is over.
  void step();
  bool stepDue() const { return p_.delivery.successSeen == 1 && p_.run.underWay(); }

 private:
  void sendFirstMessage();
  void sendNextOnSPath(std::string_view message, int count);
  void sendNextOnKPath(std::string_view message);
  void hangUpEndingRun();

  Parts p_;
  AlarmFields fields_;
};
