// Corvane's 100 ms poll tick against a module that sends whatever the input says,
// cut at any tick boundary, in normal mode and in terminal mode with keys typed into
// "kbdata" (1032). The input is a sequence of operations: the module sends bytes (or
// a long burst, or a delivery report), ticks pass, the operator types or deletes a
// key or clicks ENABLE, "./displaymessage" appears or goes.
//
// Invariants:
// - normal mode: each tick takes the next 60 bytes the module sent, no more, none
//   skipped; a delivery report ("MESSAGE SUCCESS" or "M00") counts only when it lies
//   within that one tick's bytes, ahead of any zero byte; it is acted on at the next
//   quiet tick and only then, which writes the display's first 16 bytes to
//   "./displaymessage"; nothing is sent to the module (no "./command" here);
// - the display ("message received", 1003) stays bounded: in normal mode the trim
//   keeps it under its 1000-character window (about 30 lines of 25 characters), so it
//   never holds more than that window and what one tick may add (60 bytes shown as at
//   most 4 characters each, a forced CR LF and the time-out message); in terminal mode
//   it never holds more than 64 KiB;
// - terminal mode: each tick shows the next 16 bytes the module sent exactly as they
//   came, then the first character of the kbdata field if it changed, then the forced
//   CR LF after 140 received characters; only the oldest text is ever dropped, and
//   only once the display is full; the module gets exactly the keys shown, one a tick.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/fake_serial_port.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"
#include "fuzz/fuzz_check.h"

using namespace corvane_ids;

namespace {

constexpr const char* kModule = "COM1:";
constexpr std::size_t kNormalTickBytes = 60;     // two reads of 30
constexpr std::size_t kNormalFirstReadBytes = 30;
constexpr std::size_t kTerminalTickBytes = 16;
constexpr std::size_t kForcedBreakChars = 140;
constexpr std::size_t kTrimWindowChars = 1000;
constexpr std::size_t kTimeoutMessageChars = sizeof("error: communication timeout") - 1;
// A CR at the 25th column shows as CR, CR LF (the wrap), LF.
constexpr std::size_t kMaxShownPerByte = 4;
// The time-out notice has no line end: a trim leaves fewer than 1000 characters and
// counts only the line ends left, so up to 31 notices may be shown before the next trim
// (days with no module, after a report).
constexpr int kMaxLines = 30;
constexpr std::size_t kNormalDisplayMaxChars = kTrimWindowChars +
                                               kNormalTickBytes * kMaxShownPerByte + 2 +
                                               (kMaxLines + 1) * kTimeoutMessageChars;
constexpr std::size_t kTerminalDisplayMaxBytes = 64 * 1024;
// The terminal display drops its oldest text only when full, and then 4 KiB more than
// it must, so it keeps at least this much (its cut may move on to the next line end,
// at most 1 KiB further).
constexpr std::size_t kTerminalTrimBytes = 4 * 1024;
constexpr std::size_t kTerminalKeptAfterTrim =
    kTerminalDisplayMaxBytes - 2 - kTerminalTrimBytes - 1024 - 2;

constexpr int kMaxTicks = 30000;
constexpr std::size_t kMaxBurstBytes = 80 * 1024;

// Reports whole, split over two sends, and hidden behind a zero byte.
constexpr std::string_view kReports[] = {"MESSAGE SUCCESS\r\n", "M00\r\n", "M00", "MESSAGE SUC",
                                         "CESS\r\n", std::string_view("\0MESSAGE SUCCESS\r\n", 18)};

bool holdsReport(std::string_view bytes) {
  std::string_view text = bytes.substr(0, bytes.find('\0'));
  return text.find("M00") != std::string_view::npos ||
         text.find("MESSAGE SUCCESS") != std::string_view::npos;
}

class TickRun {
 public:
  explicit TickRun(const std::filesystem::path& dir)
      : bench_(clock_),
        port_(bench_),
        outside_(dir),
        dlg_(outside_.env(port_, clock_, panel_)),
        displayFile_(dir / "displaymessage") {
    bench_.addDevice(kModule);
    port_.open(kModule, 9600);
  }

  void send(std::string_view bytes) {
    bench_.replyWith(kModule, bytes);
    sent_ += bytes;
  }
  void typeKey(char key) {
    panel_.typeInto(kKbdata, std::string(1, key));
    dlg_.onTextChanged(kKbdata);
    field_ += key;
    keyChanged_ = true;
  }
  void deleteKeys() {
    panel_.replaceText(kKbdata, "");
    dlg_.onTextChanged(kKbdata);
    field_.clear();
    keyChanged_ = true;
  }
  void clickEnable() {
    panel_.click(kTerminalEnable);
    dlg_.onClicked(kTerminalEnable);
    terminal_ = true;
    shown_ = dlg_.display.receivedText;
  }
  void toggleDisplayFile() {
    if (std::filesystem::exists(displayFile_)) {
      std::filesystem::remove(displayFile_);
    } else {
      std::ofstream(displayFile_, std::ios::binary) << "old snapshot text";
    }
  }

  void tick() {
    FUZZ_CHECK(dlg_.terminalSelected == (terminal_ ? 0 : -1), "terminal mode not as clicked");
    terminal_ ? terminalTick() : normalTick();
    FUZZ_CHECK(bench_.pendingInput(kModule) == sent_.size() - taken_, "bytes lost on the line");
  }

 private:
  std::string take(std::size_t most) {
    const std::size_t n = std::min(most, sent_.size() - taken_);
    std::string bytes = sent_.substr(taken_, n);
    taken_ += n;
    return bytes;
  }
  bool breakDue(std::size_t received) {
    chars_ += received;
    if (chars_ <= kForcedBreakChars) return false;
    chars_ = 0;
    return true;
  }

  void normalTick() {
    const std::size_t pendingBefore = static_cast<std::size_t>(dlg_.delivery.successPending);
    const int seenBefore = dlg_.delivery.successSeen;
    bench_.clearEvents();
    const std::size_t firstRead = std::min(kNormalFirstReadBytes, sent_.size() - taken_);
    const std::string expected = take(kNormalTickBytes);
    breakDue(firstRead);

    dlg_.onTimer();

    const std::string got = readThisTick();
    FUZZ_CHECK(got == expected, "the tick took " + fuzz::visible(got) + " where the module sent " +
                                    fuzz::visible(expected));
    if (!expected.empty()) {
      const std::size_t counted = holdsReport(expected) ? expected.size() : 0;
      FUZZ_CHECK(static_cast<std::size_t>(dlg_.delivery.successPending) == pendingBefore + counted,
                 "a delivery report counted that was not within this tick's bytes: " +
                     fuzz::visible(expected));
      FUZZ_CHECK(dlg_.delivery.successSeen == seenBefore, "a report acted on in a tick that received bytes");
    } else if (pendingBefore != 0) {
      FUZZ_CHECK(dlg_.delivery.successPending == 0 && dlg_.delivery.successSeen == 1,
                 "a pending report not acted on at the quiet tick");
      checkDisplayFile();
    } else {
      FUZZ_CHECK(dlg_.delivery.successPending == 0 && dlg_.delivery.successSeen == seenBefore,
                 "a delivery seen with no report");
    }
    FUZZ_CHECK(bench_.written(kModule).empty(), "the normal tick sent something");
    FUZZ_CHECK(dlg_.display.receivedText.size() <= kNormalDisplayMaxChars,
               "the display holds " + std::to_string(dlg_.display.receivedText.size()) +
                   " characters, beyond its trim window: " + fuzz::visible(dlg_.display.receivedText, 80));
  }

  // What the tick read from the port, as the bench saw it.
  std::string readThisTick() const {
    std::string bytes;
    for (const FakeSerialBench::Event& e : bench_.events()) {
      if (e.kind == FakeSerialBench::Event::kRead) bytes += e.bytes;
    }
    return bytes;
  }

  void checkDisplayFile() {
    if (!std::filesystem::exists(displayFile_)) return;
    std::ifstream in(displayFile_, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    std::string first16 = dlg_.display.receivedText.substr(0, 16);
    first16.resize(16, '\0');
    FUZZ_CHECK(content.substr(0, 16) == first16, "./displaymessage does not hold the display's start");
  }

  // The display is checked against a model of it, kept in step without copying it
  // every tick: the model gets what the tick must show, then loses what the display
  // dropped from its front.
  void terminalTick() {
    bench_.clearEvents();
    const std::size_t before = shown_.size();
    shown_ += take(kTerminalTickBytes);
    const bool brk = breakDue(shown_.size() - before);
    std::string key;
    if (keyChanged_) {
      // The field is the queue of keys not yet sent: one goes out a tick.
      if (!field_.empty()) key = field_.substr(0, 1);
      if (!field_.empty()) field_.erase(0, 1);
      keyChanged_ = !field_.empty();
    }
    shown_ += key;
    if (brk) shown_ += "\r\n";

    dlg_.onTimer();

    const std::string& shown = dlg_.display.receivedText;
    FUZZ_CHECK(shown.size() <= kTerminalDisplayMaxBytes, "the terminal display is over 64 KiB");
    FUZZ_CHECK(shown.size() == shown_.size() ||
                   (shown_.size() > kTerminalDisplayMaxBytes - 2 && shown.size() < shown_.size() &&
                    shown.size() >= kTerminalKeptAfterTrim),
               "terminal mode dropped text before the display was full");
    const std::size_t dropped = shown_.size() - std::min(shown_.size(), shown.size());
    FUZZ_CHECK(std::string_view(shown_).substr(dropped) == shown,
               "terminal mode lost or invented bytes: shows ..." + tail(shown) + " where ..." +
                   tail(shown_) + " was due");
    shown_.erase(0, dropped);
    FUZZ_CHECK(bench_.written(kModule) == key, "the module got " + fuzz::visible(bench_.written(kModule)) +
                                                   " where the key was " + fuzz::visible(key));
    FUZZ_CHECK(dlg_.kbdataText == field_ && panel_.text(kKbdata) == field_,
               "the kbdata field does not hold the keys still waiting: " +
                   fuzz::visible(dlg_.kbdataText) + " where " + fuzz::visible(field_) + " wait");
  }

  static std::string tail(std::string_view text) {
    return fuzz::visible(text.substr(text.size() - std::min<std::size_t>(text.size(), 40)));
  }

  VirtualClock clock_;
  FakeSerialBench bench_;
  FakeSerialPort port_;
  FakeControlPanel panel_;
  CorvaneOutside outside_;
  CCorvaneDlg dlg_;
  std::filesystem::path displayFile_;
  std::string sent_;       // everything the module sent
  std::size_t taken_ = 0;  // how much of it Corvane has read
  std::size_t chars_ = 0;  // received characters since the last forced line break
  std::string field_;      // the kbdata field as the operator left it
  std::string shown_;      // what the terminal display must hold
  bool keyChanged_ = false;
  bool terminal_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TempDir dir;
  std::filesystem::remove(dir / "displaymessage");
  FuzzedDataProvider input(data, size);
  TickRun run(dir.path());
  int ticks = 0;
  while (input.remaining_bytes() > 0 && ticks < kMaxTicks) {
    switch (input.ConsumeIntegralInRange(0, 9)) {
      case 0:
      case 1: run.send(input.ConsumeRandomLengthString(200)); break;
      case 2: run.send(input.PickValueInArray(kReports)); break;
      case 3: {
        // A long burst: a short pattern over and over, to fill the display.
        const std::string pattern = input.ConsumeRandomLengthString(40);
        const std::size_t total = input.ConsumeIntegralInRange<std::size_t>(0, kMaxBurstBytes);
        std::string burst;
        while (!pattern.empty() && burst.size() < total) burst += pattern;
        run.send(burst);
        break;
      }
      case 4:
      case 5: {
        const int n = input.ConsumeIntegralInRange(1, 8);
        for (int i = 0; i < n && ticks < kMaxTicks; ++i, ++ticks) run.tick();
        break;
      }
      case 6: {
        // A long quiet or busy stretch: minutes of ticks.
        const int n = input.ConsumeIntegralInRange(1, 6000);
        for (int i = 0; i < n && ticks < kMaxTicks; ++i, ++ticks) run.tick();
        break;
      }
      case 7: run.typeKey(input.ConsumeIntegral<char>()); break;
      case 8: input.ConsumeBool() ? run.deleteKeys() : run.toggleDisplayFile(); break;
      case 9: run.clickEnable(); break;
    }
  }
  return 0;
}
