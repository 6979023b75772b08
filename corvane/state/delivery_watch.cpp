#include "corvane/state/delivery_watch.h"

#include <string>

bool DeliveryWatch::holdsDeliveryReport(std::string_view received) {
  std::string_view text = received.substr(0, received.find('\0'));
  return text.find("M00") != std::string_view::npos ||
         text.find("MESSAGE SUCCESS") != std::string_view::npos;
}

bool DeliveryWatch::countTick() {
  if (successSeen != 0 || ++tickCount <= kTicksBeforeTimeout) return false;
  tickCount = 0;
  return true;
}

bool DeliveryWatch::actOnPending() {
  if (successPending == 0) return false;
  successPending = 0;
  successSeen = 1;
  tickCount = 0;
  return true;
}
