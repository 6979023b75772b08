#include "corvane/port_watch.h"

#include <optional>

#include "common/port_names.h"
#include "common/port_status_text.h"

namespace {

using Kind = PortProblem::Kind;

// "COM3: " from "COM3:"; "(no port name): " for none.
std::string subject(const std::string& name) {
  if (name.empty()) return "(no port name): ";
  return (name.back() == ':' ? name.substr(0, name.size() - 1) : name) + ": ";
}

// The names in order, a run of three or more neighbours as "COM4: to COM9:".
std::string listNames(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size();) {
    std::size_t end = i + 1;
    std::optional<int> first = comPortNumber(names[i]);
    while (first && end < names.size() &&
           comPortNumber(names[end]) == *first + static_cast<int>(end - i)) {
      ++end;
    }
    if (!text.empty()) text += ' ';
    text += end - i >= 3 ? names[i] + " to " + names[end - 1] : names[i];
    if (end - i == 2) text += ' ' + names[i + 1];
    i = end;
  }
  return text;
}

}  // namespace

std::string describeLinkTest(const std::string& name, const std::string& device,
                             int answeredBaud) {
  std::string text = subject(name);
  if (!device.empty() && device != name) text += "is " + shortDevicePath(device) + ": ";
  if (answeredBaud == 0) return text + "no answer at 9600 or 115200 baud";
  return text + "the module answered at " + std::to_string(answeredBaud) + " baud";
}

std::string PortWatch::whyNotOpen() const {
  std::string why = describePortProblem(port_.name(), port_.problem());
  if (!why.empty()) return why;
  return port_.name().empty() ? "no port is open" : subject(port_.name()) + "the port is not open";
}

void PortWatch::afterLinkOpen() {
  if (port_.isOpen() || openFailureSaid_) return;
  openFailureSaid_ = true;
  say(whyNotOpen());
}

void PortWatch::linkTestDone(int answeredBaud) {
  if (!port_.isOpen()) return;  // the open's failure has been said
  say(describeLinkTest(port_.name(), port_.device(), answeredBaud));
}

void PortWatch::detectionTried(bool answered) {
  Try t;
  t.name = port_.name();
  t.device = port_.device();
  t.problem = port_.problem();
  t.answered = answered;
  tries_.push_back(std::move(t));
}

void PortWatch::detectionDone(int baud) {
  std::string found;
  std::vector<std::string> silent;
  std::vector<std::string> absent;
  std::vector<const Try*> refused;
  for (const Try& t : tries_) {
    if (t.answered) {
      found = "the module answered on " + t.name;
      if (!t.device.empty() && t.device != t.name) found += " (" + shortDevicePath(t.device) + ")";
    } else if (t.problem.kind == Kind::kNone || t.problem.kind == Kind::kGone) {
      silent.push_back(t.name);
    } else if (t.problem.kind == Kind::kNoDevice || t.problem.kind == Kind::kNoName) {
      absent.push_back(t.name);
    } else {
      refused.push_back(&t);
    }
  }
  std::string text = "auto detect at " + std::to_string(baud) + " baud: ";
  text += found.empty() ? "no module answered" : found;
  if (!silent.empty()) text += "; no answer on " + listNames(silent);
  if (!absent.empty()) text += "; no port present for " + listNames(absent);
  if (!refused.empty()) {
    text += "; " + describePortProblem(refused.front()->name, refused.front()->problem);
    if (refused.size() > 1) text += " (" + std::to_string(refused.size() - 1) + " more refused)";
  }
  tries_.clear();
  say(text);
}

void PortWatch::afterSequence(const std::string& what, int sentWrites, int unsentWrites,
                              PortProblem::Kind failure) {
  const bool gone = port_.problem().kind == Kind::kGone;
  if (!gone) lostSaid_ = false;
  const bool newlyLost = gone && !lostSaid_;
  if (newlyLost) lostSaid_ = true;
  if (unsentWrites == 0) {
    if (newlyLost) say(whyNotOpen() + ": it is opened again when it is back");
    return;
  }
  const std::string label = what.empty() ? std::string() : what + " ";
  const std::string outcome = sentWrites > 0 ? "not all sent" : "not sent";
  std::string why = whyNotOpen();
  if (port_.isOpen() && failure == Kind::kStalled) {
    PortProblem stalled;
    stalled.kind = Kind::kStalled;
    stalled.device = port_.device();
    why = describePortProblem(port_.name(), stalled);
  } else if (port_.isOpen()) {
    why = subject(port_.name()) + "the driver refused the bytes";
  }
  say(label + outcome + ": " + why);
}

void PortWatch::atTick() {
  switch (port_.problem().kind) {
    case Kind::kGone:
      retryGone();
      break;
    case Kind::kBusy:
      retryHeld();
      break;
    default:
      heldTicks_ = 0;
      break;
  }
}

void PortWatch::retryHeld() {
  if (++heldTicks_ < kHeldRetryTicks) return;
  heldTicks_ = 0;
  // The stored port only: port detection closes every name it tried and held, so a
  // held port at this point is one the start-up test (or this retry) opened by name.
  const std::string held = whyNotOpen();
  if (port_.open(port_.name(), port_.baud())) {
    say(describePortFreed(port_.name(), port_.device(), port_.baud()));
  } else if (whyNotOpen() != held) {
    say(whyNotOpen());  // another holder, or no longer there
  }
}

void PortWatch::retryGone() {
  if (!port_.reopenIfBack()) return;
  lostSaid_ = false;
  say(describePortFoundAgain(port_.name(), port_.device(), port_.baud()));
}
