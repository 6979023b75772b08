// What Corvane says of an SIA FSK F1 message against what it sends: the input is the
// message, typed into "alarm message" and sent with "go (transmit message)...", or,
// by the input's last byte, written to ./alarmmessage2 and sent as message 2 of a
// multiple run.
//
// Invariants:
// - the explanation's pair count is the number of K frames on the wire;
// - its text is the bytes those frames carry (each pair's value by the link's digit
//   rule) and its list of frames is the frames sent, address and pair as typed;
// - a message 2 that the explanation says ends the run sends no K frame.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "common/alarm_message.h"
#include "corvane/control_ids.h"
#include "corvane/f1_agreement.h"
#include "fakes/operator_actions.h"
#include "fuzz/corvane_on_fake_module.h"
#include "fuzz/fuzz_check.h"

using namespace corvane_ids;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool asRunMessage = input.ConsumeBool();  // from the input's end
  const std::string message = input.ConsumeRemainingBytesAsString();

  CorvaneOnFakeModule corvane;
  corvane.dlg.telephoneNumber = "5551234";
  corvane.dlg.protocolCode = '1';
  corvane.dlg.fskF1Selected = 0;

  AlarmExplanation explained;
  if (asRunMessage) {
    CorvaneOnFakeModule::workDir().write("alarmmessage2", message);
    corvane.dlg.alarmMessage1 = "41";
    operator_actions::click(corvane.panel, corvane.dlg, kMultipleRun);
    corvane.bench.replyWith("COM1:", "MESSAGE SUCCESS\r\n");
    operator_actions::tick(corvane.dlg, 1);
    corvane.bench.clearEvents();
    operator_actions::tick(corvane.dlg, 1);
    explained = explainAlarmMessage('1', message, AlarmSending{2});
  } else {
    corvane.dlg.alarmMessage1 = message;
    corvane.bench.clearEvents();
    operator_actions::click(corvane.panel, corvane.dlg, kTransmit);
    explained = corvane.dlg.explainAlarmMessage(1);
  }
  const std::vector<std::string> frames = f1_agreement::kFramesIn(corvane.bench.writes());
  if (asRunMessage && explained.summary.rfind("Message 2 ends the run", 0) == 0) {
    FUZZ_CHECK(frames.empty(), "K frames for a message that ends the run: " + fuzz::visible(message));
    return 0;
  }
  const std::string differs = f1_agreement::disagreement(explained, frames);
  FUZZ_CHECK(differs.empty(), (asRunMessage ? "file " : "message ") + fuzz::visible(message) + ": " +
                                  fuzz::visible(differs, 400));
  return 0;
}
