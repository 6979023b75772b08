#include "halvard/port_search_text.h"

#include "common/port_status_text.h"

namespace {

std::string outcomeWords(const PortSearchStep& step, const std::string& secondPortName) {
  using Kind = PortProblem::Kind;
  if (step.opened) return "silent";
  switch (step.problem.kind) {
    case Kind::kNoName:
    case Kind::kNoDevice:
      return "not present";
    case Kind::kPermission:
      return "permission denied";
    case Kind::kBusy:
      return step.name == secondPortName ? "held as the second port"
                                         : "held by " + describeHolder(step.problem);
    case Kind::kNotSerial:
      return "not a serial device";
    case Kind::kControllingTerminal:
      return "this program's own terminal";
    case Kind::kLineSettings:
      return "refused the speed or 8N1";
    default:
      return "cannot be opened";
  }
}

// "COM1: silent; COM2: to COM3: not present"
std::string triedWords(const std::vector<PortSearchStep>& steps, const std::string& secondPortName) {
  std::string text;
  for (std::size_t first = 0; first < steps.size();) {
    const std::string words = outcomeWords(steps[first], secondPortName);
    std::size_t last = first;
    while (last + 1 < steps.size() && !steps[last + 1].answered &&
           outcomeWords(steps[last + 1], secondPortName) == words) {
      ++last;
    }
    if (!text.empty()) text += "; ";
    text += steps[first].name;
    if (last != first) text += " to " + steps[last].name;
    text += " " + words;
    first = last + 1;
  }
  return text;
}

}  // namespace

std::string describePortSearch(const std::vector<PortSearchStep>& steps, int baud,
                               const std::string& secondPortName) {
  std::string text = "port search at " + std::to_string(baud) + " baud: ";
  std::vector<PortSearchStep> silent = steps;
  if (!steps.empty() && steps.back().answered) {
    const PortSearchStep& found = steps.back();
    silent.pop_back();
    text += found.name + " answered, ";
    text += found.device.empty() || found.device == found.name
                ? std::string("it is the main port now")
                : shortDevicePath(found.device) + " is the main port now";
  } else {
    text += "no module answered";
  }
  if (!silent.empty()) text += " (" + triedWords(silent, secondPortName) + ")";
  for (const PortSearchStep& step : silent) {
    const std::string& group = step.problem.group;
    if (step.problem.kind == PortProblem::Kind::kPermission && !group.empty() && group != "root") {
      return text + "; join the group " + group + " and log in again";
    }
  }
  return text;
}
