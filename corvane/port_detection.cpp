#include "corvane/port_detection.h"

#include "corvane/protocol/register_map.h"

namespace {

constexpr int kDetectBaud = 115200;

}  // namespace

void PortDetection::detect() {
  namespace rm = register_map;
  link_.port().close();
  portWatch_.startDetection();
  for (char digit = '1'; digit <= '9'; ++digit) {
    const std::string name = std::string("COM") + digit + ":";
    link_.openPort(name, kDetectBaud);
    notes_.noteDetectionTry(name, link_.port());
    const bool answered = link_.registerLinkCheck(rm::kDetectTest) == rm::kTestValue;
    portWatch_.detectionTried(answered);
    if (answered) {
      commportText_ = name;
      display_.receivedText =
          std::string("communication port: ") + digit + "  Please exit and reenter";
      commportChanged_ = 1;
      break;
    }
    display_.receivedText = "commport not detected";
    link_.port().close();
  }
  portWatch_.detectionDone(kDetectBaud);
}
