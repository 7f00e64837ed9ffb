// The converter window as plain state: its lists, check boxes, edit fields,
// combo boxes and the few control properties the handlers change, plus the
// loaded CCF file with its format flags. The window binds this to real
// controls; the command line and the tests drive the same handlers on it.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/output/layout_transform.h"

namespace velmora {

// A list box: entries and, for multi-selection boxes, the selected indexes.
class ListBoxState {
 public:
  const std::vector<std::string>& items() const { return items_; }
  size_t size() const { return items_.size(); }
  const std::string& operator[](size_t index) const { return items_[index]; }

  void Add(std::string item) { items_.push_back(std::move(item)); }
  void Clear();
  // Removes the entry; the selection follows the remaining entries.
  void Delete(size_t index);
  bool Contains(const std::string& item) const;

  void Select(size_t index, bool selected = true);
  bool IsSelected(size_t index) const { return selected_.count(index) != 0; }
  // The lowest selected index.
  std::optional<size_t> FirstSelected() const;
  const std::set<size_t>& selection() const { return selected_; }

 private:
  std::vector<std::string> items_;
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

inline constexpr int kStartScaleModeIndex = 4;  // "Center on 320x320 screen and don't scale"
inline constexpr int kStartPreviewIndex = 2;    // "320x320 screen (320x307)"

// The start-up state: no file, empty lists, all five options checked, the
// fields "1", "1", "0", "44", ScaleCombo at 4, PreviewCombo at 2 with Image1
// at 8, 8, 320 x 307, ReadFileBtn the enabled default button.
struct FormState {
  ListBoxState panelList;                      // chain headings and panels, multi-select
  ListBoxState categoryList;                   // panels chosen as categories, multi-select
  ListBoxState buttonList;                     // the previewed panel's buttons, multi-select
  ListBoxState unfiledList;                    // buttons for the Unfiled category, multi-select
  std::vector<std::string> iconList;           // hidden table of one generation's bitmaps
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
  // Numbers are read and written with this separator: the locale's in the
  // window, "." in the command line and the tests.
  char decimalSeparator = '.';

  bool readFileBtnEnabled = true;
  bool readFileBtnDefault = true;
  bool goBtnDefault = false;

  // The current input, from a successful load until the next one.
  std::optional<CcfImage> ccfImage;
  CcfFormat format;  // colourFormat and longIrHeader of ccfImage

  LayoutTransform layout;  // loaded by ReadLayoutEdits
  CompressedBitmapNote compressedNote;
};

}  // namespace velmora
