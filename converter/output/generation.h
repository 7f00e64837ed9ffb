// One generation run: the chosen panels and unfiled buttons of the loaded CCF
// file become a Tessaly database. The records, in order: the database-info
// record; one bitmap record per IconList key; a control and a style record per
// unfiled button; then per category the control and style records of every
// item of its panel (depth first) followed by the panel's hard keys.
//
// The run counts its records first (the same walk that writes them), announces
// that many in the header and begins exactly that many. The database is built
// beside the target and replaces it only when complete (PdbWriter).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ccf/layout_transform.h"
#include "converter/output/ir_code.h"
#include "converter/output/panel_walk.h"

namespace velmora {

inline constexpr char kDefaultDatabaseFileName[] = "Halvestone.PDB";
// Unfiled buttons are placed at this CCF position and get no layout offset.
inline constexpr uint16_t kUnfiledPosition = 10;

// What a run reads from the window: the lists, the options and Image1's size.
struct GenerationRequest {
  const CcfImage* image = nullptr;
  CcfFormat format;
  std::vector<std::string> categoryEntries;  // CategoryList, in category order
  std::vector<std::string> unfiledEntries;   // UnfiledList
  std::vector<std::string> panelToDeviceList;
  LayoutTransform layout;
  bool activeButtons = true;   // ActiveButtonsCheck
  bool pressedButtons = true;  // ClickedButtonsCheck
  bool includeText = true;     // IncludeTextCheck
  bool includeIr = true;       // IncludeIRCheck
  bool hardKeys = true;        // HKCheck
  bool convertRc6 = false;     // "Convert RC6 codes"; the decoding of compressed
                               // bitmaps is the run's CompressedBitmapNote's
  int imageWidth = 320;        // Image1: places the hard-key column
  int imageHeight = 307;
};

// The state of one run besides the writer's counters: the record total and
// the once-only warning flags (the compressed-bitmap note is the form's, shared
// with the preview).
struct GenerationRun {
  uint32_t recordTotal = 0;
  IrWarningFlags irWarnings;
  bool over64kShown = false;
  CompressedBitmapNote* compressedNote = nullptr;

  // Clears all six once-only flags.
  void ClearWarnings();
};

// Steps of a run after the save dialog and the layout fields: rebuilds
// `icons`, counts, writes the database to `path`. True only when the complete
// database was written; every failure has been shown through `messages`.
bool GenerateDatabase(const GenerationRequest& request, const std::string& path, IconList& icons,
                      GenerationRun& run, common::Messages& messages);

// Record total of a run: icons + 2 x items + 1, plus 7 or 9 per category with
// hard keys. 64 bits, so that no input can wrap it.
uint64_t RecordTotal(uint64_t iconCount, uint64_t itemCount, uint64_t categoryCount, bool hardKeys,
                     const CcfFormat& format);

}  // namespace velmora
