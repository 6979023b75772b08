#include "sim/core/station_report.h"

#include "common/alarm_message.h"
#include "sim/core/frame.h"

namespace zmsim {

namespace {

constexpr std::uint8_t kFormatF1 = 0x01;

char protocolCodeOf(std::uint8_t format) {
  // The PC writes 7F as "W7F0" and its one-character code.
  return format < 10 ? static_cast<char>('0' + format) : '?';
}

std::string memoryAsHexPairs(const RegisterMap& registers) {
  std::string hex;
  for (std::size_t i = 0; i < RegisterMap::kMemoryBytes; ++i) {
    std::uint8_t byte = registers.memory(i);
    hex += hexPair(byte);
    if (byte < alarm_message::kFskF1EndBelow) break;
  }
  return hex;
}

}  // namespace

std::vector<std::string> stationReport(const RegisterMap& registers) {
  std::uint8_t format = registers.working(RegisterMap::kFormat);
  std::string message;
  if (format == kFormatF1) {
    message = memoryAsHexPairs(registers);
  } else {
    const std::string& loaded = registers.message();
    message = loaded.substr(0, loaded.find('\0'));
  }
  AlarmExplanation explained = explainAlarmMessage(protocolCodeOf(format), message);
  std::vector<std::string> lines{explained.summary};
  for (std::size_t i = 1; i < explained.problems.size(); ++i) {
    lines.push_back("problem: " + explained.problems[i]);
  }
  return lines;
}

}  // namespace zmsim
