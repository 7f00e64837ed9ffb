// libFuzzer target: the input is loaded as a CCF file and a whole generation
// run follows over its panels (see generation_stage.h for what is checked).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/messages.h"
#include "converter/ui/load.h"
#include "fuzz/generation_stage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velmora::FormState form;
  common::RecordedMessages messages;
  velmora::CcfImage image(std::vector<uint8_t>(data, data + size), "fuzz.ccf");
  if (velmora::LoadCcfImage(form, std::move(image), messages)) fuzz_stage::GenerateAndCheck(form);
  return 0;
}
