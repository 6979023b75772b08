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
// ("/dev/ttyUSB0" as "/dev/tty"), so it is kept out of the file.
std::string portNameTooLong(const std::string& name) {
  return "commport \"" + name + "\" not saved: " + kPortNameFile + " holds " +
         std::to_string(CorvaneFiles::kPortNameBytes) +
         " characters and keeps its old name; make a link (ln -s " + name +
         " ports/COM1) and type COM1:";
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
  const bool goesOnTyping = name.starts_with(portNameStored_) || portNameStored_.starts_with(name);
  if (!CorvaneFiles::storesPortName(name)) {
    saves_.refused(kPortNameFile, portNameTooLong(name));
    // The prefix stored while this name was typed names another device or none at all.
    if (goesOnTyping && portNameStored_ != portNameBeforeTyping_ &&
        files_.savePortName(portNameBeforeTyping_)) {
      portNameStored_ = portNameBeforeTyping_;
    }
    return;
  }
  if (!goesOnTyping) portNameBeforeTyping_ = portNameStored_;
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
