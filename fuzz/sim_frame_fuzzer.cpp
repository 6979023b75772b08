// The simulator's frame parser and the module's answers (checks in sim_frame_checks.h),
// with every call fault but the split report, which sim_split_report_fuzzer adds.

#include "fuzz/sim_frame_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return sim_frame_checks::run(data, size, /*withSplitReport=*/false);
}
