// The converter window's event handlers on the plain form state: loading a
// file, editing the category and unfiled lists, the layout handlers with their
// hard-key offset rule and check-box chaining, the panel preview and the
// button image, and "Generate PDB file". The window, the command line and the
// tests call these.
//
// A window copies the user's change into the FormState (a list's selection, a
// check box's new state, an edit's text), runs the handler, and then writes
// the whole FormState back to its controls: lists, fields, check boxes, combo
// items, Image1's place, the enabled and default buttons, and the two
// pictures. Where a handler shows a dialog or runs long, it first calls
// FormState::controlsChanged so that the window can show the state of that
// moment (a disabled button).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/messages.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ui/file_dialogs.h"
#include "converter/ui/form_state.h"

namespace velmora {

inline constexpr size_t kMaxCategoryEntries = 15;
inline constexpr char kTooManyCategoriesText[] =
    "Only 15 categories are allowed per Palm database.  Either delete one or start a new "
    "database.";
inline constexpr char kTooManyCategoriesCaption[] = "Too many categories";

// "Read CCF file": disables ReadFileBtn, runs the Open dialog and loads the
// chosen file (LoadCcfFile); ReadFileBtn is enabled again in every case, an
// exception included. True when a file was loaded.
bool ReadFileBtnClick(FormState& form, FileDialog& dialog, common::Messages& messages);

// The window is closing: the current CCF file is closed.
void FormDestroy(FormState& form);

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

// Redraws Image1's picture at Image1's current size for the first selected
// PanelList entry (a heading or none: white, with the hard-key markers when
// included) and refills ButtonList with the buttons drawn.
void DrawSelectedPanel(FormState& form, common::Messages& messages);
// ButtonList as DrawSelectedPanel fills it, without drawing: a face that
// shows no preview neither pays for it nor reports what only drawing meets.
void ListSelectedPanelButtons(FormState& form, common::Messages& messages);
// ReadLayoutEdits, then DrawSelectedPanel; a field that holds no number ends
// the handler after its message. True when the preview was redrawn.
bool PanelListClick(FormState& form, common::Messages& messages);
void RefreshBtnClick(FormState& form, common::Messages& messages);

// Redraws ButtonImage's picture (185 x 57) with the normal or, when
// `pressed`, the pressed bitmap of the first selected ButtonList entry.
void ShowButtonImage(FormState& form, bool pressed, common::Messages& messages);
// A ButtonList click and a mouse release on ButtonImage show the normal
// image, a mouse press the pressed one; the mouse position does not matter.
void ButtonListClick(FormState& form, common::Messages& messages);
void ButtonImageMouseDown(FormState& form, common::Messages& messages);
void ButtonImageMouseUp(FormState& form, common::Messages& messages);

// Places Image1 for PreviewCombo's item; any other index changes nothing.
void PlacePreviewImage(FormState& form);
// Presets the four fields and the preview size from ScaleCombo's item, applies
// the hard-key offset rule and redraws.
void ApplyScaleMode(FormState& form, common::Messages& messages);
// The user picks ScaleCombo item `index`.
void ScaleComboChange(FormState& form, int index, common::Messages& messages);
// The user picks PreviewCombo item `index`.
void PreviewComboChange(FormState& form, int index, common::Messages& messages);

// The click handlers of the two chained check boxes, run after the state has
// changed. Setting a box from code runs its handler only when the state really
// changes; hard keys are thus never included without IR codes.
void HKCheckClick(FormState& form, common::Messages& messages);
void IncludeIRCheckClick(FormState& form, common::Messages& messages);
void SetHKCheck(FormState& form, bool checked, common::Messages& messages);
void SetIncludeIRCheck(FormState& form, bool checked, common::Messages& messages);

// "Generate PDB file": disables GoBtn, clears the run's warnings, asks for the
// file (default "Halvestone.PDB"), reads the layout fields and writes the
// database; GoBtn is enabled again in every case, an exception included. True
// only when the database was written.
bool GoBtnClick(FormState& form, FileDialog& dialog, common::Messages& messages);

}  // namespace velmora
