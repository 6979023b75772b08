#include <string>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/register_map.h"

// The commport edit (1011) and its button "auto detect commport" (1012). Neither
// touches the open port's settings: a new name is saved by the next tick and used at
// the next start.

namespace {

constexpr int kDetectBaud = 115200;
constexpr int kCommportEditPauseMs = 200;

}  // namespace

void CCorvaneDlg::onDetectPortClicked() {
  namespace rm = register_map;
  ModuleLink& l = link_;
  env_.port.close();
  portWatch_.startDetection();
  for (char digit = '1'; digit <= '9'; ++digit) {
    const std::string name = std::string("COM") + digit + ":";
    l.openPort(name, kDetectBaud);
    std::string reply = l.registerLinkCheck(rm::kDetectTest);
    portWatch_.detectionTried(reply == rm::kTestValue);
    if (reply == rm::kTestValue) {
      commportText = name;
      display.receivedText =
          std::string("communication port: ") + digit + "  Please exit and reenter";
      flags.commportChanged = 1;
      break;
    }
    display.receivedText = "commport not detected";
    env_.port.close();
  }
  // The operator sees only the outcome, not each port tried; the status line says
  // what each name did.
  portWatch_.detectionDone(kDetectBaud);
  link_.takeWriteCounts();
  loadControls();
}

void CCorvaneDlg::onCommportChanged() {
  flags.commportChanged = 1;
  link_.pauseMs(kCommportEditPauseMs);
  storeControls();
}
