// libFuzzer target: the input is loaded as a CCF file, every listed panel is
// walked and its bitmaps decoded into a canvas and the buffer sink, with the
// messages recorded. The limits keep one input fast; the malformed corpus
// test covers the same code with the full limits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/generation_stage.h"
#include "tests/support/ccf_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ccf_exercise::Limits limits{
      .canvasSide = 64, .maxRenderPixels = 1u << 14, .maxBitmapDecodes = 64, .maxIrWords = 4096};
  velmora::FormState form;
  ccf_exercise::ExerciseCcf(form, std::vector<uint8_t>(data, data + size), "fuzz.ccf", limits);
  // `form` still holds the loaded file and its lists: a whole generation run
  // over its panels follows.
  fuzz_stage::GenerateAndCheck(form);
  return 0;
}
