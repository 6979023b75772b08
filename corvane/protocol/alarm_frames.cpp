#include "corvane/protocol/alarm_frames.h"

#include <cstddef>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"

namespace alarm_frames {

void sendTelephoneNumber(CCorvaneDlg& dlg, std::string_view number) {
  ModuleLink& link = dlg.link();
  link.sendByte('D');
  dlg.receivedText += 'D';
  for (std::size_t i = 0; i < kNumberMaxChars; ++i) {
    // The edit's text ends at its terminator, so an embedded NUL ends the number too.
    if (i >= number.size() || number[i] == '\0') {
      link.sendByte(frames::kCr);
      dlg.receivedText += "\r\n";
      return;
    }
    link.sendByte(number[i]);
    dlg.receivedText += number[i];
  }
}

void sendMessageCharacters(CCorvaneDlg& dlg, std::string_view message, int count) {
  ModuleLink& link = dlg.link();
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    if (i < message.size()) {
      link.sendByte(message[i]);
      dlg.transmittingText += message[i];
      dlg.receivedText += message[i];
    } else {
      link.sendByte('\0');
    }
    link.pauseMs(kMessageCharPauseMs);
  }
}

void sendKFrames(CCorvaneDlg& dlg, std::string_view message) {
  ModuleLink& link = dlg.link();
  int address = kFirstKAddress;
  for (std::size_t i = 0; i + 1 < message.size() && address < kFirstKAddress + kMaxKFrames;
       i += 2, ++address) {
    if (hexPairToByte(message, i) < kSmallestKByte) return;
    std::string addressDigits = frames::byteToHexPair(address);
    std::string_view pair = message.substr(i, 2);
    link.sendByte('K');
    link.sendBytes(addressDigits);
    link.sendBytes(pair);
    dlg.receivedText += 'K';
    dlg.receivedText += addressDigits;
    dlg.receivedText += pair;
    dlg.transmittingText += pair;
    link.pauseMs(kKFramePauseMs);
  }
}

}  // namespace alarm_frames
