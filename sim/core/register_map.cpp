#include "sim/core/register_map.h"

#include <utility>

#include "sim/core/frame.h"

namespace zmsim {

namespace {

struct FactoryValue {
  std::uint8_t reg;
  std::uint8_t value;
};

// Dialer time-out 20 s, kiss-off wait 8 s, status messages on, full transmit level,
// 1400 Hz tones, Contact-ID. Everything else 00.
constexpr FactoryValue kFactoryValues[] = {
    {RegisterMap::kDialerTimeout, 0x0A}, {RegisterMap::kKissoffTime, 0x04},
    {RegisterMap::kOptions, 0x20},       {RegisterMap::kControl, 0x80},
    {RegisterMap::kTone, 0x04},          {RegisterMap::kFormat, 0x00},
};

constexpr std::uint8_t kKnownRegisters[] = {
    RegisterMap::kProgramming,   RegisterMap::kDetectionTest, RegisterMap::kFormat,
    RegisterMap::kLinkTest,      RegisterMap::kDialerTimeout, RegisterMap::kKissoffTime,
    RegisterMap::kResetKey,      RegisterMap::kOptions,       RegisterMap::kControl,
    RegisterMap::kTone,
};

}  // namespace

RegisterMap::RegisterMap() { restoreFactoryDefaults(); }

void RegisterMap::write(std::uint8_t reg, std::uint8_t value) {
  working_[reg] = value;
  touched_.set(reg);
}

void RegisterMap::store(std::uint8_t reg, std::uint8_t value) {
  stored_[reg] = value;
  working_[reg] = value;
  touched_.set(reg);
}

bool RegisterMap::writeMemory(std::uint8_t address, std::uint8_t value) {
  if (address < kFirstMemoryAddress || address >= kFirstMemoryAddress + kMemoryBytes) {
    return false;
  }
  memory_[address - kFirstMemoryAddress] = value;
  return true;
}

std::string RegisterMap::memoryMessage() const {
  std::string text;
  for (std::uint8_t byte : memory_) {
    if (byte < 0x20) break;
    text += static_cast<char>(byte);
  }
  return text;
}

void RegisterMap::setNumber(std::string digits) {
  if (digits.size() > kMaxNumberDigits) digits.resize(kMaxNumberDigits);
  number_ = std::move(digits);
}

void RegisterMap::setMessage(std::string text) {
  if (text.size() > kMaxMessageBytes) text.resize(kMaxMessageBytes);
  message_ = std::move(text);
}

void RegisterMap::restoreFactoryDefaults() {
  stored_.fill(0);
  for (const FactoryValue& v : kFactoryValues) stored_[v.reg] = v.value;
  working_ = stored_;
  touched_.reset();
  memory_.fill(0);
  number_.clear();
  message_.clear();
}

std::string RegisterMap::dump() const {
  std::bitset<256> shown = touched_;
  for (std::uint8_t reg : kKnownRegisters) shown.set(reg);
  std::string workingLine = "dump working";
  std::string storedLine = "dump stored";
  for (unsigned reg = 0; reg < 256; ++reg) {
    if (!shown.test(reg)) continue;
    workingLine += " " + hexPair(reg) + "=" + hexPair(working_[reg]);
    storedLine += " " + hexPair(reg) + "=" + hexPair(stored_[reg]);
  }
  std::string memoryLine = "dump memory";
  for (std::size_t i = 0; i < kMemoryBytes; ++i) {
    memoryLine += " " + hexPair(static_cast<unsigned>(kFirstMemoryAddress + i)) + "=" +
                  hexPair(memory_[i]);
  }
  return workingLine + "\n" + storedLine + "\n" + memoryLine + "\ndump number " +
         escapeBytes(number_) + "\ndump message " + escapeBytes(message_) + "\n";
}

}  // namespace zmsim
