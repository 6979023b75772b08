#pragma once

#include <string>

#include "corvane/module_link.h"
#include "corvane/state/received_display.h"
#include "corvane/state/register_shadows.h"
#include "corvane/state/selection.h"

// The dialog's fields that loading an alarm reads, and the one it writes. They are the
// dialog's and must outlive every role that holds them.
struct AlarmFields {
  const std::string& telephoneNumber;
  const std::string& alarmMessage1;
  std::string& transmittingText;  // edit 1027: the message characters sent
  const char& protocolCode;
  FormatButtons format;
};

// "go (transmit message) after update file operation above.": loads one alarm (the
// number and message 1) into the module and tells it to dial. Nothing is awaited: the
// module's reports come in through the poll tick. Everything passed must outlive it.
class Transmission {
 public:
  Transmission(ModuleLink& link, ReceivedDisplay& display, RegisterShadows& shadows,
               AlarmFields fields)
      : link_(link), display_(display), shadows_(shadows), fields_(fields) {}

  // The whole sequence, with the register AC run bit cleared; the display and edit
  // 1027 gain what it shows. The dialog shows its fields afterwards.
  void start();

 private:
  void sendControlAndFormat();
  void sendMessageFrame();

  ModuleLink& link_;
  ReceivedDisplay& display_;
  RegisterShadows& shadows_;
  AlarmFields fields_;
};
