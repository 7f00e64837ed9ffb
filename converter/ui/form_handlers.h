// The converter window's event handlers on the plain form state: editing the
// category and unfiled lists, the layout handlers with their hard-key offset
// rule and check-box chaining, the panel click that lists ButtonList, and
// "Generate PDB file". The window, the command line and the tests call these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/messages.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ui/form_state.h"

namespace velmora {

inline constexpr size_t kMaxCategoryEntries = 15;
inline constexpr char kTooManyCategoriesText[] =
    "Only 15 categories are allowed per Palm database.  Either delete one or start a new "
    "database.";
inline constexpr char kTooManyCategoriesCaption[] = "Too many categories";

// The drawing of Image1 for the first selected panel, after ButtonList has
// been refilled; it reads through the same reader, so a redraw is one
// operation. `panel` is 0 when no panel is selected (a heading or nothing).
class PreviewDrawer {
 public:
  virtual ~PreviewDrawer() = default;
  virtual void DrawPanel(FormState& form, CcfReader& reader, uint32_t panel) = 0;
};

// A drawer that draws nothing: the command line has no preview.
class NoPreviewDrawer : public PreviewDrawer {
 public:
  void DrawPanel(FormState&, CcfReader&, uint32_t) override {}
};

// The Save dialog of "Generate PDB file": a path, or nullopt when cancelled.
inline constexpr char kSaveDialogTitle[] = "Save As";
inline constexpr char kSaveDialogDefaultExtension[] = ".PDB";
inline constexpr char kSaveDialogFilter[] = "Palm Database Files (*.PDB)|*.PDB|All Files (*.*)|*.*";
class SaveFileDialog {
 public:
  virtual ~SaveFileDialog() = default;
  virtual std::optional<std::string> Run(std::string_view fileName) = 0;
};

// Upper "->": appends the selected panels (not headings, not already there) to
// CategoryList in PanelList order; a 16th shows the "Too many categories"
// message and ends the click.
void AddPanelBtnClick(FormState& form, common::Messages& messages);
// Upper "<-": removes the selected categories.
void DelPanelBtnClick(FormState& form);
// Lower "->": appends the selected buttons to UnfiledList, without a limit.
void ButtonAddBtnClick(FormState& form);
// Lower "<-": removes the selected unfiled buttons.
void ButtonDelBtnClick(FormState& form);

// Clears ButtonList, lists the buttons of the first selected PanelList entry
// (when it is a panel) and has the drawer draw it.
void DrawSelectedPanel(FormState& form, PreviewDrawer& drawer, common::Messages& messages);
// ReadLayoutEdits, then DrawSelectedPanel; a field that holds no number ends
// the handler after its message.
void PanelListClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages);
void RefreshBtnClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages);

// Places Image1 for PreviewCombo's item; any other index changes nothing.
void PlacePreviewImage(FormState& form);
// Presets the four fields and the preview size from ScaleCombo's item, applies
// the hard-key offset rule and redraws.
void ApplyScaleMode(FormState& form, PreviewDrawer& drawer, common::Messages& messages);
// The user picks ScaleCombo item `index`.
void ScaleComboChange(FormState& form, int index, PreviewDrawer& drawer,
                      common::Messages& messages);
// The user picks PreviewCombo item `index`.
void PreviewComboChange(FormState& form, int index, PreviewDrawer& drawer,
                        common::Messages& messages);

// The click handlers of the two chained check boxes, run after the state has
// changed. Setting a box from code runs its handler only when the state really
// changes; hard keys are thus never included without IR codes.
void HKCheckClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages);
void IncludeIRCheckClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages);
void SetHKCheck(FormState& form, bool checked, PreviewDrawer& drawer, common::Messages& messages);
void SetIncludeIRCheck(FormState& form, bool checked, PreviewDrawer& drawer,
                       common::Messages& messages);

// "Generate PDB file": clears the run's warnings, asks for the file (default
// "Halvestone.PDB"), reads the layout fields and writes the database. True
// only when the database was written.
bool GoBtnClick(FormState& form, SaveFileDialog& dialog, common::Messages& messages);

}  // namespace velmora
