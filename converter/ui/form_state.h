// The converter window as plain state: its lists, check boxes, edit fields,
// combo boxes, the pictures of its two images and the few control properties
// the handlers change, plus the loaded CCF file with its format flags. The
// window binds this to real controls; the command line and the tests drive
// the same handlers on it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/ccf/canvas.h"
#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/output/icon_list.h"
#include "converter/ui/layout_fields.h"

namespace velmora {

// A list box: entries and, for multi-selection boxes, the selected indexes.
class ListBoxState {
 public:
  const std::vector<std::string>& items() const { return items_; }
  size_t size() const { return items_.size(); }
  const std::string& operator[](size_t index) const { return items_[index]; }

  void Add(std::string item);
  // Replaces every entry; nothing stays selected.
  void Assign(std::vector<std::string> items);
  void Clear();
  // Removes the entry; the selection follows the remaining entries.
  void Delete(size_t index);
  // Looked up in a count of the entries, built on the first lookup and kept
  // after it, so that filling a long list one entry at a time stays linear
  // and a list that is never searched does not pay for it.
  bool Contains(const std::string& item) const;

  void Select(size_t index, bool selected = true);
  void SelectNone() { selected_.clear(); }
  bool IsSelected(size_t index) const { return selected_.count(index) != 0; }
  // The lowest selected index.
  std::optional<size_t> FirstSelected() const;
  const std::set<size_t>& selection() const { return selected_; }

 private:
  std::vector<std::string> items_;
  // entry -> how often it occurs; empty until the first lookup
  mutable std::optional<std::unordered_map<std::string, size_t>> counts_;
  std::set<size_t> selected_;
};

// Where Image1 sits inside Panel1.
struct ImagePlacement {
  int left = 8;
  int top = 8;
  int width = 320;
  int height = 307;
  bool operator==(const ImagePlacement&) const = default;
};

// The size of ButtonImage inside Panel2.
inline constexpr int kButtonImageWidth = 185;
inline constexpr int kButtonImageHeight = 57;

inline constexpr int kStartScaleModeIndex = 4;  // "Center on 320x320 screen and don't scale"
inline constexpr int kStartPreviewIndex = 2;    // "320x320 screen (320x307)"

// The start-up state: no file, empty lists, all five options checked, the
// fields "1", "1", "0", "44", ScaleCombo at 4, PreviewCombo at 2 with Image1
// at 8, 8, 320 x 307, both images without a picture, ReadFileBtn the enabled
// default button, GoBtn enabled. Start-up is constructing it: the two combo
// boxes stand at their items without their handlers having run.
struct FormState {
  ListBoxState panelList;                      // chain headings and panels, multi-select
  ListBoxState categoryList;                   // panels chosen as categories, multi-select
  ListBoxState buttonList;                     // the previewed panel's buttons, multi-select
  ListBoxState unfiledList;                    // buttons for the Unfiled category, multi-select
  IconList iconList;                           // hidden table of one generation's bitmaps
  std::vector<std::string> panelToDeviceList;  // hidden table, "PPPPPPPP - DDDDDDDD"

  bool activeButtonsCheck = true;   // "Use active (associated) buttons "
  bool clickedButtonsCheck = true;  // "Include selected (pressed) buttons"
  bool hkCheck = true;              // "Include Pronto hard keys"
  bool includeTextCheck = true;     // "Include button text"
  bool includeIrCheck = true;       // "Include IR codes"

  LayoutEdits layoutEdits;  // ScaleXEdit, ScaleYEdit, OffsetXEdit, OffsetYEdit
  int scaleComboIndex = kStartScaleModeIndex;
  int previewComboIndex = kStartPreviewIndex;
  ImagePlacement image1;
  // The pictures of Image1 and ButtonImage. Empty (0 x 0) until first drawn:
  // the window then shows the panel behind. Image1's picture has Image1's size
  // as it was at the last redraw; ButtonImage's is 185 x 57.
  Canvas image1Canvas;
  Canvas buttonImageCanvas;
  // Numbers are read and written with this separator: the locale's in the
  // window, "." in the command line and the tests.
  char decimalSeparator = '.';

  bool readFileBtnEnabled = true;
  bool readFileBtnDefault = true;
  bool goBtnDefault = false;
  bool goBtnEnabled = true;

  // Run by a handler where the window must show the state before the
  // handler ends: ReadFileBtn disabled around the Open dialog, GoBtn disabled
  // around the Save dialog and the run. After every handler the window writes
  // the whole state back to its controls in any case.
  std::function<void()> controlsChanged;

  // The current input, from a successful load until the next one.
  std::optional<CcfImage> ccfImage;
  CcfFormat format;  // colourFormat and longIrHeader of ccfImage

  LayoutTransform layout;  // loaded by ReadLayoutEdits
  // The two system-menu options, off at start-up and not kept between runs:
  // "Decode compressed bitmaps" is compressedNote.decode.
  CompressedBitmapNote compressedNote;
  bool convertRc6 = false;  // "Convert RC6 codes"
};

}  // namespace velmora
