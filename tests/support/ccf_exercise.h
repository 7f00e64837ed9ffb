// Loads a CCF file from memory as "Read CCF file" does, then for each listed
// panel reads what a preview and a generation would read: its items, frames
// and buttons, each button's list name and IR code (FindIrCode, then the
// Pronto words), the hard keys of the panel's device, every bitmap through the
// buffer sink, and the panel and its button images drawn by the preview
// renderer with either button set.
//
// The result is a transcript, compared line by line with the committed
// expectations of the malformed corpus:
//   [load]        the messages of the load, as "CAPTION: TEXT"
//   [PanelList]   the entries of PanelList
//   [walk]        per panel: the messages of its walk (one operation per
//                 panel), then "PPPPPPPP: N items, K IR codes, B bitmaps"
// The fuzz target runs the same code with tighter limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/ui/form_state.h"

namespace ccf_exercise {

struct Limits {
  int canvasSide = 320;  // the preview canvas is canvasSide x canvasSide
  // Bitmaps with more pixels than this are drawn on the canvas only, not
  // rendered into the buffer sink (the sink has its own allocation cap).
  uint64_t maxRenderPixels = UINT64_MAX;
  // Bitmaps decoded in all, per file, before the rest are only counted; a
  // panel is drawn while this budget lasts.
  uint64_t maxBitmapDecodes = UINT64_MAX;
  // Pronto words read per IR code.
  uint32_t maxIrWords = 1u << 17;
  // Items walked in all, per file, before the remaining panels are left out.
  uint64_t maxWalkedItems = UINT64_MAX;
  // Whether each panel is also drawn by the preview renderer (with either
  // button set, and its buttons' images) while the decode budget lasts.
  bool drawPreview = true;
};

// Loads into `form`, which keeps the file, its lists and flags afterwards (a
// generation run can follow on the same form).
std::vector<std::string> ExerciseCcf(velmora::FormState& form, std::vector<uint8_t> bytes,
                                     const std::string& name, const Limits& limits = {});
// The same on a fresh form.
std::vector<std::string> ExerciseCcf(std::vector<uint8_t> bytes, const std::string& name,
                                     const Limits& limits = {});

}  // namespace ccf_exercise
