#pragma once

#include <cstddef>
#include <string_view>

// The module's registers, their bits, the command letters and the fixed frame texts:
// the one place that says what each frame Corvane sends is made of. Register numbers
// and values travel as two upper-case hex digits; W, M and K frames are five
// characters, R and Q frames three, and none has a terminator.
namespace register_map {

// --- command letters ------------------------------------------------------------
constexpr char kWrite = 'W';         // W RR VV: working value
constexpr char kRead = 'R';          // R RR: the module answers two hex digits
constexpr char kReadStored = 'Q';    // Q RR: the value the module keeps
constexpr char kWriteStored = 'M';   // M RR VV: the value the module keeps
constexpr char kMemoryWrite = 'K';   // K AA VV: one byte of the SIA FSK F1 message memory
constexpr char kMessage = 'S';       // S, the message characters, CR
constexpr char kNumber = 'D';        // D, the telephone number, CR
constexpr char kGo = 'G';            // dial and report
constexpr char kNextMessage = 'B';   // the next message of a multiple run
constexpr char kHangUp = 'A';        // on-hook; also ends a multiple run
constexpr char kLoadDefaults = 'X';  // factory defaults, after the reset key in 87

// --- registers, as the two digits of their number ---------------------------------
constexpr std::string_view kProgramming = "3D";    // 01 opens a programming sequence, 00 ends it
constexpr std::string_view kDetectTest = "50";     // port detection writes 55 and reads it back
constexpr std::string_view kFormat = "7F";         // reporting format: 0 and the protocol code
constexpr std::string_view kStartUpTest = "80";    // the start-up link test, as 50
constexpr std::string_view kDialerTimeout = "82";  // count of 2-second units
constexpr std::string_view kKissoffTime = "83";    // Contact-ID kiss-off time, 2-second units
constexpr std::string_view kResetKey = "87";       // 55 before the X of the factory defaults
constexpr std::string_view kOptions = "AB";        // audio, status, debug, SIA 110 baud
constexpr std::string_view kControl = "AC";        // "zm40control": run bit and transmit level
constexpr std::string_view kTone = "B1";           // FSK F2 handshake and kiss-off tone

// --- register values --------------------------------------------------------------
constexpr std::string_view kProgrammingOn = "01";
constexpr std::string_view kProgrammingOff = "00";
constexpr std::string_view kTestValue = "55";  // link tests and the reset key
constexpr std::string_view kContactIdFormat = "00";
// The SIA FSK F1 message memory: the n-th byte of a message goes to D0 + n.
constexpr int kFirstMemoryAddress = 0xD0;
constexpr int kMemoryBytes = 14;  // D0 to DD

// --- bits -------------------------------------------------------------------------
constexpr int kOptionsSia110Bit = 0x04;    // set: SIA 110 baud
constexpr int kOptionsStatusBit = 0x20;    // set: status messages on
constexpr int kOptionsDebugBit = 0x40;     // set: debug messages on
constexpr int kOptionsAudioOffBit = 0x80;  // clear: audio on
constexpr int kControlRunBit = 0x02;       // set for a multiple run, clear for one alarm
constexpr int kControlFullLevelBit = 0x80; // clear: transmit signal reduced by 6 dB
constexpr int kToneHighBit = 0x04;         // set: 1400 Hz, clear: 2300 Hz

// A frame's fixed text of up to five characters, usable as a string_view.
struct FrameText {
  char bytes[5] = {};
  std::size_t size = 0;
  constexpr operator std::string_view() const { return {bytes, size}; }
  constexpr std::string_view view() const { return *this; }
};

// The command letter and the register's two digits, then whatever part of a value
// follows in the same write: "QAB", "WAC", "W7F0", "W3D01". reg must hold two
// characters and value at most two.
constexpr FrameText registerFrame(char letter, std::string_view reg, std::string_view value = {}) {
  FrameText f;
  f.bytes[f.size++] = letter;
  f.bytes[f.size++] = reg[0];
  f.bytes[f.size++] = reg[1];
  for (std::size_t i = 0; i < value.size() && i < 2; ++i) f.bytes[f.size++] = value[i];
  return f;
}

// A whole W frame: 'W', the register and the value's two hex digits.
constexpr FrameText writeFrame(std::string_view reg, std::string_view value) {
  return registerFrame(kWrite, reg, value);
}

// --- fixed frame texts --------------------------------------------------------------
constexpr FrameText kBeginProgramming = writeFrame(kProgramming, kProgrammingOn);  // W3D01
constexpr FrameText kEndProgramming = writeFrame(kProgramming, kProgrammingOff);   // W3D00
constexpr FrameText kWriteControl = registerFrame(kWrite, kControl);               // WAC + VV
constexpr FrameText kStoreControl = registerFrame(kWriteStored, kControl);         // MAC + VV
constexpr FrameText kWriteTone = registerFrame(kWrite, kTone);                     // WB1 + VV
constexpr FrameText kStoreTone = registerFrame(kWriteStored, kTone);               // MB1 + VV
constexpr FrameText kStoreDialerTimeout = registerFrame(kWriteStored, kDialerTimeout);  // M82
constexpr FrameText kStoreKissoffTime = registerFrame(kWriteStored, kKissoffTime);      // M83
// "W7F0": the format register's first digit; the protocol code follows as the second.
constexpr FrameText kWriteFormatHead = registerFrame(kWrite, kFormat, "0");
constexpr FrameText kWriteContactIdFormat = writeFrame(kFormat, kContactIdFormat);  // W7F00
constexpr FrameText kResetKeyFrame = writeFrame(kResetKey, kTestValue);             // W8755

// The start-up reads, in their order.
constexpr FrameText kQueryDialerTimeout = registerFrame(kReadStored, kDialerTimeout);  // Q82
constexpr FrameText kQueryKissoffTime = registerFrame(kReadStored, kKissoffTime);      // Q83
constexpr FrameText kQueryControl = registerFrame(kReadStored, kControl);              // QAC
constexpr FrameText kQueryOptions = registerFrame(kReadStored, kOptions);              // QAB
constexpr FrameText kReadTone = registerFrame(kRead, kTone);                           // RB1

// The factory defaults' alarm message and telephone number.
constexpr std::string_view kDefaultMessageFrame = "S123418313101015";
constexpr std::string_view kDefaultNumberFrame = "D2";

}  // namespace register_map
