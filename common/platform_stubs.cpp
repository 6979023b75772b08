// Placeholder until the platform layer is built.
#include "common/port_names.h"
#include "common/steady_clock.h"
#include "common/termios_serial_port.h"

void SteadyClock::pauseMs(int) {}
void SteadyClock::stopwatchStart() {}
double SteadyClock::stopwatchElapsedMs() { return 0; }
std::optional<std::filesystem::path> resolvePortName(const std::string&, const std::filesystem::path&) { return std::nullopt; }
TermiosSerialPort::TermiosSerialPort(std::filesystem::path workDir) : workDir_(std::move(workDir)) {}
TermiosSerialPort::~TermiosSerialPort() = default;
bool TermiosSerialPort::open(const std::string&, int) { return false; }
void TermiosSerialPort::close() {}
void TermiosSerialPort::write(std::string_view) {}
std::string TermiosSerialPort::readAvailable(std::size_t) { return {}; }
void TermiosSerialPort::purgeInput() {}
