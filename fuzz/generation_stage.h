// The generation stage of the fuzz targets: a full "Generate PDB file" run
// over a loaded form, checked for the one property every run must keep.
#pragma once

#include "converter/ui/form_state.h"

namespace fuzz_stage {

// Chooses up to 15 panels as categories and up to 32 of their buttons as
// unfiled buttons, shrinks the layout so huge bitmaps stay cheap, and runs the
// generation into a scratch folder of this process. A database reported as
// written must have every announced record begun, in order; anything else
// aborts the process so the fuzzer records the input.
void GenerateAndCheck(velmora::FormState& form);

}  // namespace fuzz_stage
