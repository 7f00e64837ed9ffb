// The generation stage of the fuzz targets: a full "Generate PDB file" run
// over a loaded form, checked for the one property every run must keep.
#pragma once

#include <string>

#include "converter/output/byte_buffer.h"
#include "converter/ui/form_state.h"

namespace fuzz_stage {

// A file of this process's scratch folder (removed when the process ends).
std::string ScratchFile(const std::string& name);
// The bytes of a file this process wrote.
velmora::Bytes ReadWholeFile(const std::string& path);

// Chooses up to 15 panels as categories and up to 32 of their buttons as
// unfiled buttons, shrinks the layout so huge bitmaps stay cheap, and runs the
// generation into a scratch folder of this process. A database reported as
// written must decode with every announced record begun, in order, and hold
// the records the run announced (info, bitmaps, controls with their styles,
// hard keys); anything else aborts the process so the fuzzer records the input.
void GenerateAndCheck(velmora::FormState& form);

}  // namespace fuzz_stage
