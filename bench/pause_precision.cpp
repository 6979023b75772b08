// How close SteadyClock::pauseMs(n) comes to n ms, and what each pause costs in CPU
// time. The module's timing contract wants at least n ms and close to n; a pause that
// spun for its whole length would burn a core for the seconds a run of frames takes.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "common/steady_clock.h"

namespace {

double threadCpuUs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

struct Result {
  double minUs, medianUs, maxUs, cpuUsPerPause;
  int undershoots;
};

Result measure(SteadyClock& clock, int pauseMs, int runs) {
  std::vector<double> overshootUs;
  double cpuUs = 0;
  int undershoots = 0;
  for (int i = 0; i < runs; ++i) {
    double cpuBefore = threadCpuUs();
    auto before = std::chrono::steady_clock::now();
    clock.pauseMs(pauseMs);
    auto after = std::chrono::steady_clock::now();
    cpuUs += threadCpuUs() - cpuBefore;
    double us = std::chrono::duration<double, std::micro>(after - before).count() - pauseMs * 1e3;
    if (us < 0) ++undershoots;
    overshootUs.push_back(us);
  }
  std::sort(overshootUs.begin(), overshootUs.end());
  return {overshootUs.front(), overshootUs[overshootUs.size() / 2], overshootUs.back(),
          cpuUs / runs, undershoots};
}

}  // namespace

int main() {
  SteadyClock clock;
  std::printf("SteadyClock::pauseMs: overshoot beyond n ms (microseconds) and CPU per pause\n");
  std::printf("%8s %6s %10s %10s %10s %14s %8s %11s\n", "n (ms)", "runs", "min", "median", "max",
              "CPU us/pause", "CPU %", "undershoots");
  for (int n : {1, 10, 30, 50, 100, 200}) {
    int runs = n <= 50 ? 50 : 15;
    Result r = measure(clock, n, runs);
    std::printf("%8d %6d %10.1f %10.1f %10.1f %14.1f %7.1f%% %11d\n", n, runs, r.minUs,
                r.medianUs, r.maxUs, r.cpuUsPerPause, 100.0 * r.cpuUsPerPause / (n * 1e3),
                r.undershoots);
  }
  return 0;
}
