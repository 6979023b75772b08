#include <string>

#include "corvane/corvane_dlg.h"

// The saves of the settings files that the operator's edits and the tick make, each
// told to the status line when it fails and again when it finally succeeds. A save
// that failed is tried again at each tick until it succeeds, so the edit is not lost.

namespace {

const std::string kPortNameFile = "./commport";
const std::string kTelephoneFile = "./telephonenumber";

std::string alarmMessageFile(int n) { return "./" + CorvaneFiles::alarmMessageFileName(n); }

// A typed name that ./commport cannot hold: it would read back cut, as another device
// ("/dev/ttyUSB0" as "/dev/tty"), so it is kept out of the file, which keeps `kept`.
std::string portNameTooLong(const std::string& name, const std::string& kept) {
  return "commport \"" + name + "\" not saved: " + kPortNameFile + " holds " +
         std::to_string(CorvaneFiles::kPortNameBytes) + " characters and " +
         (kept.empty() ? std::string("stays empty") : "keeps \"" + kept + "\"") +
         "; make a link (ln -s " + name + " ports/COM1) and type COM1:";
}

// Whether `name` is `stored` with one key typed at its end or taken off it: the
// operator typing on, as opposed to a paste or a replacement.
bool oneKeyApart(const std::string& stored, const std::string& name) {
  const std::string& shorter = stored.size() < name.size() ? stored : name;
  const std::string& longer = stored.size() < name.size() ? name : stored;
  return longer.size() == shorter.size() + 1 && longer.starts_with(shorter);
}

}  // namespace

void CCorvaneDlg::saveTelephoneNumberFile() {
  saves_.note(kTelephoneFile, files_.saveTelephoneNumber(telephoneNumber));
}

void CCorvaneDlg::saveAlarmMessageFile(int n) {
  saves_.note(alarmMessageFile(n), files_.saveAlarmMessage(n, alarmMessage(n)));
}

void CCorvaneDlg::savePortNameFile() {
  const std::string& name = commportText;
  const bool typedOn = oneKeyApart(portNameStored_, name);
  if (!CorvaneFiles::storesPortName(name)) {
    // Typed key by key past what the file holds, the name left prefixes of itself stored
    // on the way ("/dev/tty"), which name another device or none: the file gets back
    // what it held before that typing. A stored name that was pasted or kept is left.
    if (typedOn && portNameStored_ != portNameBeforeTyping_ &&
        files_.savePortName(portNameBeforeTyping_)) {
      portNameStored_ = portNameBeforeTyping_;
    }
    saves_.refused(kPortNameFile, portNameTooLong(name, portNameStored_));
    return;
  }
  // A first key into the emptied edit begins typing from what the file holds; a name
  // pasted whole is one the operator chose, with nothing before it to go back to.
  if (!typedOn) portNameBeforeTyping_ = name.size() == 1 ? portNameStored_ : name;
  if (!saves_.note(kPortNameFile, files_.savePortName(name))) {
    flags.commportChanged = 1;
    return;
  }
  portNameStored_ = name;
}

void CCorvaneDlg::retryFailedSaves() {
  if (saves_.failing(kTelephoneFile)) saveTelephoneNumberFile();
  for (int n = 1; n <= 8; ++n) {
    if (saves_.failing(alarmMessageFile(n))) saveAlarmMessageFile(n);
  }
}
