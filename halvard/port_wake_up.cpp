#include "halvard/port_wake_up.h"

void wakeUpPort(SerialPort& port, const std::string& name) {
  port.open(name, kWakeUpBaud);
  port.purgeInput();
  for (int i = 0; i < 3; ++i) port.write("\r");
}
