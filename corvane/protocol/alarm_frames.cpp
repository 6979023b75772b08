#include "corvane/protocol/alarm_frames.h"

#include <cstddef>

#include "common/alarm_message.h"
#include "corvane/protocol/frames.h"

namespace alarm_frames {

namespace rm = register_map;

void sendTelephoneNumber(ModuleLink& link, ReceivedDisplay& display, std::string_view number) {
  link.sendByte(rm::kNumber);
  display.show(rm::kNumber);
  for (std::size_t i = 0; i < kNumberMaxChars; ++i) {
    // The edit's text ends at its terminator, so an embedded NUL ends the number too.
    if (i >= number.size() || number[i] == '\0') {
      link.sendByte(frames::kCr);
      display.show("\r\n");
      return;
    }
    link.sendByte(number[i]);
    display.show(number[i]);
  }
}

void sendMessageCharacters(ModuleLink& link, ReceivedDisplay& display,
                           std::string& transmittingText, std::string_view message, int count) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    if (i < message.size()) {
      link.sendByte(message[i]);
      transmittingText += message[i];
      display.show(message[i]);
    } else {
      link.sendByte('\0');
    }
    link.pauseMs(kMessageCharPauseMs);
  }
}

void sendKFrames(ModuleLink& link, ReceivedDisplay& display, std::string& transmittingText,
                 std::string_view message) {
  // The pairs as the explanation of the message reads them (common/alarm_message.h).
  int address = rm::kFirstMemoryAddress;
  for (const alarm_message::FskF1Frames::Pair& p : alarm_message::fskF1Frames(message).pairs) {
    std::string addressDigits = frames::byteToHexPair(address++);
    std::string_view pair = message.substr(p.offset, 2);
    link.sendByte(rm::kMemoryWrite);
    link.sendBytes(addressDigits);
    link.sendBytes(pair);
    display.show(rm::kMemoryWrite);
    display.show(addressDigits);
    display.show(pair);
    transmittingText += pair;
    link.pauseMs(kKFramePauseMs);
  }
}

void sendKPath(ModuleLink& link, ReceivedDisplay& display, std::string& transmittingText,
               std::string_view message) {
  link.sendByte(frames::kCr);
  link.pauseMs(10);
  transmittingText.clear();
  sendKFrames(link, display, transmittingText, message);
}

}  // namespace alarm_frames
