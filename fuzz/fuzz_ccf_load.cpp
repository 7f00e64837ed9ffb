// libFuzzer target: the input is loaded as a CCF file and the listed panels
// walked as the conversion reads them (items, names, IR codes, bitmaps into
// the buffer sink). The limits keep one input fast: a few small bitmaps, and
// one full panel's worth of items walked in all (aliased item arrays let a
// small file list a great many); the preview has its own target, and the
// malformed corpus test covers the same code with the full limits and the
// preview. Checked: a file is accepted exactly when it carries both magic
// fields; every listed panel is a distinct, well-formed entry with its device
// entry beside it; and each operation (the load, each panel's walk) reports a
// read past the end of the file at most once.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ccf/ccf_walk.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/ccf_exercise.h"

namespace {

const std::string kReadPastEndLine =
    common::FormatMessageLine(velmora::kReadPastEndText, velmora::kFileErrorCaption);

bool HasMagic(const uint8_t* data, size_t size, size_t at) {
  return size >= at + 3 && std::memcmp(data + at, "CCF", 3) == 0;
}

bool IsHeading(const std::string& entry) { return !entry.empty() && entry[0] == '-'; }

// "PPPPPPPP - ..." with a non-zero offset written as the lists write it.
bool IsPanelEntry(const std::string& entry) {
  const uint32_t offset = velmora::HexToOffset(entry);
  return offset != 0 && entry.compare(0, 11, velmora::OffsetToHex(offset) + " - ") == 0;
}

void CheckPanelLists(const velmora::FormState& form) {
  std::set<std::string> offsets;
  size_t panels = 0;
  for (const std::string& entry : form.panelList.items()) {
    if (IsHeading(entry)) continue;
    FUZZ_CHECK(IsPanelEntry(entry) && offsets.insert(entry.substr(0, 8)).second);
    FUZZ_CHECK(panels < form.panelToDeviceList.size());
    const std::string& device = form.panelToDeviceList[panels++];
    FUZZ_CHECK(device.size() == 19 && device.compare(0, 8, entry, 0, 8) == 0);
  }
  FUZZ_CHECK(panels == form.panelToDeviceList.size());
}

// The transcript's operations end at "[PanelList]" (the load) and at each
// panel's summary line "PPPPPPPP: ...".
void CheckReportsPerOperation(const std::vector<std::string>& transcript) {
  int reports = 0;
  for (const std::string& line : transcript) {
    if (line == kReadPastEndLine) FUZZ_CHECK(++reports == 1);
    const bool summary = line.size() > 9 && line[8] == ':' && velmora::HexToOffset(line) != 0;
    if (line == "[PanelList]" || summary) reports = 0;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Bitmap decoding has its own target: here a few small ones suffice.
  const ccf_exercise::Limits limits{.canvasSide = 32,
                                    .maxRenderPixels = 1u << 10,
                                    .maxBitmapDecodes = 16,
                                    .maxIrWords = 4096,
                                    .maxWalkedItems = velmora::kMaxPanelWalkItems,
                                    .drawPreview = false};
  velmora::FormState form;
  const std::vector<std::string> transcript =
      ccf_exercise::ExerciseCcf(form, std::vector<uint8_t>(data, data + size), "fuzz.ccf", limits);
  FUZZ_CHECK(form.ccfImage.has_value() == (HasMagic(data, size, 13) && HasMagic(data, size, 32)));
  CheckPanelLists(form);
  CheckReportsPerOperation(transcript);
  return 0;
}
