#include "common/port_status_text.h"

#include <unistd.h>

#include <cstring>

namespace {

// "COM3: " from "COM3:" or "COM3"; the colon is not doubled.
std::string subject(const std::string& name) {
  if (name.empty()) return "(no port name): ";
  return (name.back() == ':' ? name.substr(0, name.size() - 1) : name) + ": ";
}

// The device as the sentence's subject: left out when it is the name itself.
std::string deviceWords(const std::string& name, const std::string& device) {
  if (device.empty() || device == name) return "the device";
  return shortDevicePath(device);
}

}  // namespace

std::string shortDevicePath(const std::string& path, std::size_t maxChars) {
  constexpr std::size_t kTail = 12;  // keeps "-if00-port0"
  if (path.size() <= maxChars || maxChars < kTail + 8) return path;
  std::size_t head = maxChars - kTail - 3;
  return path.substr(0, head) + "..." + path.substr(path.size() - kTail);
}

std::string describePortOpened(const std::string& name, const std::string& device, int baud) {
  std::string text = subject(name);
  if (!device.empty() && device != name) text += "is " + shortDevicePath(device) + ", ";
  return text + "open at " + std::to_string(baud) + " baud";
}

std::string describeHolder(const PortProblem& problem) {
  if (problem.holderPid == static_cast<long>(::getpid())) return "this program";
  if (problem.holderPid <= 0) return "another program";
  const std::string process = "(process " + std::to_string(problem.holderPid) + ")";
  return (problem.holderName.empty() ? "another program" : problem.holderName) + " " + process;
}

std::string describePortFreed(const std::string& name, const std::string& device, int baud) {
  return subject(name) + deviceWords(name, device) + " is free now, open at " +
         std::to_string(baud) + " baud; the link is tested at the next start";
}

std::string describePortFoundAgain(const std::string& name, const std::string& device,
                                   int baud) {
  return subject(name) + deviceWords(name, device) + " is back, open again at " +
         std::to_string(baud) + " baud";
}

std::string describePortProblem(const std::string& name, const PortProblem& problem) {
  using Kind = PortProblem::Kind;
  const std::string who = subject(name);
  const std::string device = deviceWords(name, problem.device);
  switch (problem.kind) {
    case Kind::kNone:
      return {};
    case Kind::kNoName:
      if (name.empty()) return "no port is named: type one such as COM1: or /dev/ttyUSB0";
      return "\"" + name + "\" names no port: use COM1: to COM9: or a path such as /dev/ttyUSB0";
    case Kind::kNoDevice:
      if (problem.device.empty()) {
        return who + "no such serial port on this machine (a link ports/" +
               name.substr(0, 4) + " can name one)";
      }
      return who + "no such device " + shortDevicePath(problem.device);
    case Kind::kPermission:
      if (problem.group.empty() || problem.group == "root") {
        return who + device + " may not be opened by this user";
      }
      return who + device + " may not be opened by this user: join the group " +
             problem.group + " and log in again";
    case Kind::kBusy:
      if (problem.holderPid == static_cast<long>(::getpid())) {
        return who + device + " is already open in this program";
      }
      return who + device + " is held by " + describeHolder(problem);
    case Kind::kNotSerial:
      return who + device + " is not a serial device";
    case Kind::kControllingTerminal:
      return who + device + " is this program's own terminal, not a port";
    case Kind::kLineSettings:
      return who + device + " refused the speed or the 8N1 framing";
    case Kind::kGone:
      return who + device + " went away (unplugged?)";
    case Kind::kStalled:
      return who + device + " stopped taking bytes: is the other end reading?";
    case Kind::kNotOpen:
      return who + "the port is not open";
    case Kind::kOther:
      break;
  }
  std::string reason = problem.osError != 0 ? std::strerror(problem.osError) : "unknown error";
  return who + device + " cannot be opened: " + reason;
}
