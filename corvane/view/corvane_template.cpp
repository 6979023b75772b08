#include "corvane/view/corvane_template.h"

#include "corvane/control_ids.h"

using namespace corvane_ids;

namespace {

constexpr int kNoId = ControlSpec::kNoId;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kDisplay = ControlKind::kMultiLineEdit;
constexpr ControlKind kButton = ControlKind::kPushButton;
constexpr ControlKind kRadio = ControlKind::kRadioButton;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kGroup = ControlKind::kGroupBox;
constexpr bool kWrap = true;

const char* const kDialerTimeoutLabel =
    "Dialer time-out, enter hexadecimal number , each count is two seconds. The default "
    "value is 0A which is twenty seconds dialer timeout.";
const char* const kKissoffLabel =
    "Contact-ID Kiss-off Receiving Time with each count two seconds -Enter 2-digit "
    "hexadecimal number";

}  // namespace

DialogTemplate corvaneTemplate() {
  return DialogTemplate{
      "ZM40/ZM42 DEMO1  V4.9 9600 or 115200 baud",
      817,
      418,
      "Corvane",
      {
          {kTelephoneNumber, kEdit, 110, 30, 90, 13, "", false, "telephone number"},
          {kNoId, kLabel, 10, 25, 62, 9, "telephone number"},
          {kAlarmMessage1, kEdit, 337, 42, 68, 12, "", false, "alarm message"},
          {kNoId, kLabel, 337, 22, 49, 11, "alarm message"},
          {kTransmit, kButton, 14, 45, 99, 19,
           "go (transmit message) after update file operation above.", kWrap},
          {kReceived, kDisplay, 413, 22, 390, 328, "", false, "message received"},
          {kNoId, kLabel, 411, 7, 58, 8, "message received"},
          {kAbort, kButton, 126, 44, 98, 20, "abort (on-hook, hang-up)"},
          {kMultipleRun, kButton, 18, 76, 206, 29,
           "go for multiple alarm messages by alarmmessage files. It requies the above "
           "updating file operation before starting. Click the above abort at the end.",
           kWrap},
          {kCommport, kEdit, 50, 170, 50, 12, "", false, "commport"},
          {kNoId, kLabel, 10, 170, 36, 10, "commport"},
          {kDetectPort, kButton, 120, 170, 100, 10, "auto detect commport"},
          {kFactoryDefault, kButton, 230, 280, 74, 16, "load factory default"},
          {kContactId, kRadio, 242, 15, 80, 25, "Contact-ID mode, do not enter checksum.", kWrap},
          {kFskF2, kRadio, 240, 135, 80, 30,
           "SIA-FORMAT FSK F2, enter eight bytes, i.e. 12345678 (for ZM42)", kWrap},
          {kPulse4x2, kRadio, 240, 95, 80, 38,
           "Pulse 4X2 mode-transmit first six characers of the alarm message", kWrap},
          {kAlarmMessage2, kEdit, 337, 62, 67, 12, "", false, "alarm message 2"},
          {kAlarmMessage3, kEdit, 337, 82, 67, 12, "", false, "alarm message 3"},
          {kAlarmMessage4, kEdit, 339, 105, 66, 12, "", false, "alarm message 4"},
          {kAlarmMessage5, kEdit, 337, 122, 66, 12, "", false, "alarm message 5"},
          {kAlarmMessage6, kEdit, 337, 142, 69, 12, "", false, "alarm message 6"},
          {kAlarmMessage7, kEdit, 337, 162, 69, 12, "", false, "alarm message 7"},
          {kAlarmMessage8, kEdit, 337, 182, 69, 12, "", false, "alarm message 8"},
          {kTransmitting, kEdit, 110, 10, 90, 12, "", false, "transmitting alarm message"},
          {kNoId, kLabel, 10, 10, 90, 10, "transmitting alarm message"},
          {kHexMessage, kEdit, 110, 310, 115, 12, "", false, "hexadecimal message"},
          {kAsciiMessage, kEdit, 106, 333, 116, 12, "", false, "ascii message"},
          {kNoId, kLabel, 26, 312, 65, 15, "hexadecimal message"},
          {kNoId, kLabel, 26, 332, 60, 10, "ascii message"},
          {kHexToAscii, kButton, 236, 322, 56, 20, "hex to ascii conversion", kWrap},
          {kNoId, kGroup, 20, 297, 282, 55, "message format conversion"},
          {kNoId, kGroup, 232, 7, 100, 168, "Protocol"},
          {kAudio, kRadio, 311, 310, 56, 10, "enable audio"},
          {kKbdata, kEdit, 129, 143, 51, 12, "", false, "kbdata"},
          {kNoId, kLabel, 99, 143, 30, 10, "kbdata"},
          {kTerminalEnable, kRadio, 39, 142, 64, 13, "ENABLE"},
          {kNoId, kGroup, 24, 133, 183, 27, "TERMINAL MODE AND DISABLE ZM40 OPERATION"},
          {kSia110, kRadio, 230, 180, 94, 17, "SIA-FORMAT 110 BAUD"},
          {kStatus, kRadio, 311, 285, 90, 10, "enable status message"},
          {kDebug, kRadio, 310, 297, 90, 10, "enable debug message"},
          {kReduce6db, kRadio, 230, 205, 170, 25,
           "Reduce Transmit Signal by 6 dB (zm40control register bit 7)", kWrap},
          {kNoId, kLabel, 15, 190, 205, 20,
           "Multiple digit commort must be converted to single digit number using device "
           "manager."},
          {kNoId, kLabel, 13, 215, 141, 40, kDialerTimeoutLabel},
          {kDialerTimeout, kEdit, 163, 231, 27, 15, "", false, kDialerTimeoutLabel},
          {kKissoffTime, kEdit, 130, 365, 40, 14, "", false, kKissoffLabel},
          {kNoId, kLabel, 20, 365, 90, 40, kKissoffLabel},
          {kTone1400, kRadio, 230, 235, 150, 35,
           "1400 (on) or 2300Hz (off)  tones for Handshake and Kiss-Off tone selection for "
           "FSK F2 (for ZM42)",
           kWrap},
          {kFskF1, kRadio, 240, 45, 90, 45,
           "SIA-FORMAT FSK F1 mode, enter hexadecimal numberfs-do not enter checksum", kWrap},
      },
      kReceived};
}
