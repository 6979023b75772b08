#include <string>

#include "corvane/corvane_dlg.h"

namespace {

constexpr int kDetectBaud = 115200;
constexpr int kCommportEditPauseMs = 200;

}  // namespace

void CCorvaneDlg::onDetectPortClicked() {
  ModuleLink& l = link();
  port().close();
  for (char digit = '1'; digit <= '9'; ++digit) {
    const std::string name = std::string("COM") + digit + ":";
    l.openPort(name, kDetectBaud);
    std::string reply = l.registerLinkCheck("50");
    if (reply == "55") {
      commportText = name;
      receivedText = std::string("communication port: ") + digit + "  Please exit and reenter";
      commportChanged = 1;
      break;
    }
    receivedText = "commport not detected";
    port().close();
  }
  // The operator sees only the outcome, not each port tried.
  loadControls();
}

void CCorvaneDlg::onCommportChanged() {
  // The open port is left alone: the next tick saves the name, the next start uses it.
  commportChanged = 1;
  link().pauseMs(kCommportEditPauseMs);
  storeControls();
}

void CCorvaneDlg::onTelephoneNumberChanged() {
  storeControls();
  files().saveTelephoneNumber(telephoneNumber);
}
