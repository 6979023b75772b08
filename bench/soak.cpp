// Corvane left on the bench for days, on the fakes and the virtual clock: the whole
// poll tick every 100 ms of virtual time, with no module, with a module that floods
// the line, and with line noise of LF and of CR bytes. Prints, for each, the size of
// the "message received" display at the end (bytes and counted lines, and the most
// it held), and the CPU time of one tick over the first and the last 10,000 ticks,
// which is what the window freezes for once the display grows.
//
//   ./build/soak [days] [case]      (default 7 days, every case; a case is "none",
//                                   "flood", "lf", "cr" or "terminal-cr")

#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane/soak_rig.h"

namespace {

constexpr std::int64_t kSampleTicks = 10000;

// The CPU time of the tick alone (not the rig's feeding and checking), per tick.
double usPerTick(SoakRig& rig, std::int64_t ticks) {
  rig.timeTicks(true);
  rig.takeTickCpuUs();
  rig.run(ticks);
  rig.timeTicks(false);
  return rig.takeTickCpuUs() / static_cast<double>(ticks);
}

struct Case {
  const char* name;
  SoakRig::Line line;
  bool terminal;
};

}  // namespace

int main(int argc, char* argv[]) {
  const double days = argc > 1 ? std::atof(argv[1]) : 7.0;
  const std::string only = argc > 2 ? argv[2] : "";
  const auto ticks = static_cast<std::int64_t>(days * static_cast<double>(SoakRig::kTicksPerDay));
  if (ticks < 2 * kSampleTicks) {
    std::fprintf(stderr, "soak: give at least %.2f days\n",
                 2.0 * kSampleTicks / static_cast<double>(SoakRig::kTicksPerDay));
    return 2;
  }
  const Case cases[] = {
      {"none", SoakRig::Line::kNoModule, false},
      {"flood", SoakRig::Line::kFlood, false},
      {"lf", SoakRig::Line::kLfStream, false},
      {"cr", SoakRig::Line::kCrStream, false},
      {"terminal-cr", SoakRig::Line::kCrStream, true},
  };
  std::printf("%.2f days of ticks (%lld) per case\n", days, static_cast<long long>(ticks));
  std::printf("%-12s %12s %10s %12s %10s %14s %14s\n", "case", "bytes", "lines", "most bytes",
              "most lines", "us/tick first", "us/tick last");
  for (const Case& c : cases) {
    if (!only.empty() && only != c.name) continue;
    SoakRig rig(c.line, c.terminal);
    const double first = usPerTick(rig, kSampleTicks);
    rig.run(ticks - 2 * kSampleTicks);
    const double last = usPerTick(rig, kSampleTicks);
    std::printf("%-12s %12zu %10d %12zu %10d %14.2f %14.2f\n", c.name, rig.shown().size(),
                rig.dlg().display.lineCount, rig.maxChars(), rig.maxLines(), first, last);
    std::fflush(stdout);
  }
  return 0;
}
