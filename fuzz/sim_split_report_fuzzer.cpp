// The simulator's frame parser and the module's answers (checks in sim_frame_checks.h)
// with the split-report fault too. Known to fail today: a line the module sends while
// a split result line waits for its second half lands inside that line, so the PC
// sees one line over 24 characters ("FAILED: N" "NO CALL IN PROGRESS").

#include "fuzz/sim_frame_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return sim_frame_checks::run(data, size, /*withSplitReport=*/true);
}
