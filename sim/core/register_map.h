#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>

namespace zmsim {

// The module's memory as the PC can reach it. Two banks of 256 registers: the working
// values (R reads, W writes) and the stored values kept over power loss (Q reads, M
// writes both banks, so a stored option takes effect at once). Power-up and the
// factory defaults copy the stored bank into the working one. Beside them: the
// SIA FSK F1 message memory D0 to DD (K), the telephone number (D) and the alarm
// message (S).
class RegisterMap {
 public:
  static constexpr std::uint8_t kFirstMemoryAddress = 0xD0;
  static constexpr std::size_t kMemoryBytes = 14;  // D0 to DD
  // What the module keeps of an S frame and of a D frame.
  static constexpr std::size_t kMaxMessageBytes = 32;
  static constexpr std::size_t kMaxNumberDigits = 16;

  // Registers whose factory values differ from 00 or that the PC uses by name.
  static constexpr std::uint8_t kProgramming = 0x3D;
  static constexpr std::uint8_t kDetectionTest = 0x50;
  static constexpr std::uint8_t kFormat = 0x7F;
  static constexpr std::uint8_t kLinkTest = 0x80;
  static constexpr std::uint8_t kDialerTimeout = 0x82;
  static constexpr std::uint8_t kKissoffTime = 0x83;
  static constexpr std::uint8_t kResetKey = 0x87;
  static constexpr std::uint8_t kOptions = 0xAB;
  static constexpr std::uint8_t kControl = 0xAC;
  static constexpr std::uint8_t kTone = 0xB1;
  // Register 87 holding this arms the X command.
  static constexpr std::uint8_t kResetKeyValue = 0x55;
  // What the bits of the option, control and tone registers switch during a call.
  static constexpr std::uint8_t kOptionsSia110Bit = 0x04;
  static constexpr std::uint8_t kOptionsAudioOffBit = 0x80;
  static constexpr std::uint8_t kControlFullLevelBit = 0x80;
  static constexpr std::uint8_t kTone1400Bit = 0x04;
  // The codes of register 7F that change what a call sends.
  static constexpr std::uint8_t kFormatF1 = 0x01;
  static constexpr std::uint8_t kFormatPulse = 0x02;

  RegisterMap();

  std::uint8_t working(std::uint8_t reg) const { return working_[reg]; }
  std::uint8_t stored(std::uint8_t reg) const { return stored_[reg]; }
  void write(std::uint8_t reg, std::uint8_t value);
  void store(std::uint8_t reg, std::uint8_t value);

  // False for an address outside D0 to DD, which changes nothing.
  bool writeMemory(std::uint8_t address, std::uint8_t value);
  std::uint8_t memory(std::size_t index) const { return memory_[index]; }
  // The F1 message: the memory bytes from D0 up to the first below 20 hex.
  std::string memoryMessage() const;

  void setNumber(std::string digits);
  void setMessage(std::string text);
  const std::string& number() const { return number_; }
  const std::string& message() const { return message_; }

  bool resetArmed() const { return working_[kResetKey] == kResetKeyValue; }
  // Both banks, the memory, number and message back to the factory state.
  void restoreFactoryDefaults();

  // The registers, memory, number and message in the log's "dump" lines.
  std::string dump() const;

 private:
  std::array<std::uint8_t, 256> working_{};
  std::array<std::uint8_t, 256> stored_{};
  std::bitset<256> touched_;  // written since power-up: dumped beside the known ones
  std::array<std::uint8_t, kMemoryBytes> memory_{};
  std::string number_;
  std::string message_;
};

}  // namespace zmsim
