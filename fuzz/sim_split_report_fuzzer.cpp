// The simulator's frame parser and the module's answers (checks in sim_frame_checks.h)
// with the split-report fault too: no line may land inside a result line whose second
// piece is still to come (it once gave "FAILED: N" "NO CALL IN PROGRESS").

#include "fuzz/sim_frame_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return sim_frame_checks::run(data, size, /*withSplitReport=*/true);
}
